#pragma once

#include "lectureliste.h"
#include "verificationliste.h"

// The list's table as an Excel workbook (.xlsx), the columns of the CSV export on one sheet: codes as
// text, quantities and prices as numbers (prices shown with "€" and the decimals received), availability
// cells coloured as on screen, the header row frozen with filters.
namespace ClasseurListe {

// Writes the workbook to `chemin`, replacing the file atomically. Empty when done, else why not.
QString ecrit(const QString &chemin, const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes);

} // namespace ClasseurListe
