#pragma once

#include <QDate>
#include <QString>

#include <optional>

// What a 2D scanner types for the GS1 DataMatrix of a medicine box: the element strings "01" (the
// GTIN-14, a 0 and the CIP13), "17" (expiry, YYMMDD), "10" (lot) and "21" (serial), in any order, the
// variable ones ended by the group separator (0x1D) unless last; with or without a symbology identifier
// ("]d2", "]C1", "]Q3"), or in the printed form "(01)03400935829108(17)281231(10)LOT42".
namespace CodeGs1 {

inline constexpr qsizetype longueurMax = 100;
inline constexpr char16_t separateur = 0x1D;

enum class Erreur {
    TropLong,           // more than longueurMax characters
    Incomplet,          // an element cut short
    PeremptionInvalide, // AI 17 that is no date
    PasDeCip13          // no AI 01, or a GTIN that is not a 0 and a valid CIP13
};

struct Lecture {
    std::optional<Erreur> erreur;
    QString cip13;    // the 13 digits inside the GTIN; empty after an error
    QDate peremption; // null when the code has none
    QString lot;
    QString serie;
};

// Whether the text is meant as a GS1 element string rather than a typed code: a symbology identifier,
// a separator, the printed form's "(", or more than 13 characters that start with AI 01 and its 14
// digits or AI 17 and its 6 digits followed by another element.
bool estCodeGs1(QStringView texte);

// Whether a text being typed may become a GS1 element string: it starts with "]", "(", the separator
// or one of the four AIs. The CIP field then takes the letters a lot or a serial holds.
bool peutDevenirCodeGs1(QStringView debut);

// Reads the elements. Without a separator the CIP13 and the expiry that follows AI 01 are still read;
// a lot or serial then runs to the next separator or the end.
Lecture lis(QStringView texte);

// What the counter says of a reading that failed.
QString message(Erreur erreur);

} // namespace CodeGs1
