#pragma once

#include <QList>
#include <QString>

// One line of a list of products: a product code and its quantity, or a line that holds no valid code
// (kept so that the pharmacist sees it, never sent).
struct LigneListe {
    QString code;     // 7 digits (CIP) or 13 digits (CIP13/EAN-13, check digit verified); empty: none
    int quantite = 1; // at least 1
    QString texte;    // the line as read
    bool valide() const { return !code.isEmpty(); }
};

// Reading the lines of typed or scanned codes, of a pasted text or spreadsheet selection, of a text or
// CSV file, and of Liste.txt.
namespace LectureListe {

// Largest quantity a line keeps, however many times its code comes.
inline constexpr int quantiteMax = 99999;

// One LigneListe per line that is not blank. A line is cut into cells at tabs and ";" (at "," when it
// has neither), and a line of one cell into its words. The code is the first cell made of 7 or 13
// digits; the quantity, the first cell after it made of at most 5 digits with a value of 1 or more
// (else 1). When the first line names its columns (a cell "Code", "CIP", "CIP13" or "EAN" and one "Qté",
// "Qte", "Quantité", "Quantite" or "Qty", in any case, with or without accents), it is no list line and
// the code and the quantity are those of the columns it names. A line that is the GS1 element string of
// a box's 2D code (see CodeGs1) gives the CIP13 inside its GTIN. A 13-digit code whose check digit is
// wrong makes the line invalid.
QList<LigneListe> lis(QStringView texte);

// Adds the lines to the list: a code already there, as itself or as its CIP13 or CIP, gets the quantity
// added (at most quantiteMax) and keeps the code first given; any other line goes at the end.
void ajoute(QList<LigneListe> &liste, const QList<LigneListe> &lignes);

// The text of a file: UTF-8 (its byte-order mark dropped) when it is valid UTF-8, else Windows-1252, as
// a spreadsheet of a French Windows writes its CSV.
QString texteDesOctets(const QByteArray &octets);

// Liste.txt in the settings folder: the last list, its valid lines as "code,quantity" and CR LF.
// Reading takes only a regular file of at most 16 MiB (`raison` tells why another gave an empty
// list; an absent file is an empty list). Writing replaces the file atomically; false when it could
// not be written, and `raison` tells why.
QList<LigneListe> chargeListe(QString *raison = nullptr);
bool enregistreListe(const QList<LigneListe> &liste, QString *raison = nullptr);

} // namespace LectureListe
