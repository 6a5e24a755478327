#pragma once

#include "reponseenregistree.h"

#include <QStringList>

// solvarin-query --historique DIR [CODE]: the answers recorded (of that code asked, when given), newest
// first, one tab-separated line each: DATE (YYYY-MM-DDThh:mm:ss, local time), SOURCE (comptoir, liste,
// surveillance, console), ACCOUNT, CODE, STATUT (as --liste writes it), CODE_REPONSE, DESIGNATION, PRIX,
// MOTIF, DATE_PREVUE, REMPLACANT (kind, code and designation separated by blanks).
int commandeHistorique(const QStringList &arguments);

// solvarin-query --ruptures DIR [--heures N]: the shortage record, one line per product: CODE,
// DESIGNATION, DEPUIS, DERNIERE, COMPTES (joined by ","), MOTIFS and DATE_PREVUE (each account's last,
// joined by ";" in account order). N defaults to [Historique] HeuresRupture (72).
int commandeRuptures(const QStringList &arguments);

// Both: `arguments` are those after the option; fields escaped as the other outputs are; exit status
// 0, 1 when the history cannot be read, 2 for wrong arguments.

// A recorded state as a STATUT token of --liste: every kind of failure is an ERREUR there.
QString statutListe(ReponseEnregistree::Etat etat);
