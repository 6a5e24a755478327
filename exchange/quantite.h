#pragma once

#include <QString>

// The number rules for a product line's quantity. They are the C locale's, whatever the machine's
// language: "." as decimal separator and no grouping, as the Pharma-ML schemas write numbers.
namespace Quantite {

// Whether the text is a number: blanks around it allowed, an optional sign, digits with an optional
// decimal point, an optional exponent.
bool estNumerique(QStringView texte);

// The absolute value of a numeric text in its short form, 15 significant digits at most ("1" for 1,
// "2.5" for 2.50). Throws RuntimeError::overflow() beyond the range of a double.
QString valeurAbsolue(QStringView texte);

} // namespace Quantite
