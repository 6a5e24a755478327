#pragma once

#include <QList>
#include <QString>

#include <optional>

// The products the simulated wholesaler knows. Any other code is answered as unknown.
namespace Catalogue {

struct Prix {
    QString nature; // "PHAHT", "PUBTC", ...
    QString valeur; // as a wholesaler writes it: a decimal with three places
};

struct Produit {
    QString cip;
    QString designation;
    QList<Prix> prix; // at most three
    bool disponible = true;
    QString codeReponse; // NON_DISPO only
    QString additif;     // NON_DISPO only: the wholesaler's remark
};

const QList<Produit> &produits();
std::optional<Produit> cherche(const QString &cip);

// A code the catalogue will never hold, for trying the "unknown product" answer.
inline constexpr char16_t codeInconnu[] = u"1234567";

} // namespace Catalogue
