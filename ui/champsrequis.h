#pragma once

class QLineEdit;

// Shows on the fields that every request carries what it needs from each: a tooltip that says it,
// and a pink background while the value would stop the request before it is sent.
namespace ChampsRequis {

void installe(QLineEdit *pharmacie, QLineEdit *codeEtablissement, QLineEdit *url, QLineEdit *identifiant,
              QLineEdit *clef);

} // namespace ChampsRequis
