#pragma once

#include <QString>

// Product codes as the pharmacist gives them: the 7-digit CIP, or the 13-digit CIP13 printed as the
// EAN-13 barcode of every box (3400 followed by 9 digits, the last one a check digit).
namespace CodeProduit {

// Whether every character of the text is an ASCII digit (true for the empty text).
bool chiffresSeuls(QStringView texte);

// Whether the text is 13 digits whose last one is the EAN-13 check digit of the twelve before it.
bool estEan13Valide(QStringView code);

// The CIP13 of a 7-digit CIP: 34009, the seven digits and the EAN-13 check digit. Any other text is
// given back as it is.
QString cip13(QStringView code);

// The request line's Type_Codification for a code: "EAN13" for 13 digits, "CIP39" for anything else.
QString typeCodification(QStringView code);

// Whether a reply's code names the product asked: the same code, or its CIP7/CIP13 counterpart
// (cip13 above), as wholesalers answer a CIP7 request with the CIP13.
bool memeProduit(QStringView demande, QStringView repondu);

// The code without the blanks, tabs and line breaks a paste brings around or inside it ("3582910" and
// a spreadsheet cell's line break, "3 400935 829108" as printed under a barcode).
QString sansBlancs(QStringView code);

} // namespace CodeProduit
