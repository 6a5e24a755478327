#pragma once

#include "reponseenregistree.h"
#include "verificationliste.h"

// The history's rows for what an exchange gave, stamped with the local time now and the account's
// wholesaler as the settings name it.
namespace Releve {

// The state the history keeps for a failed exchange: an end of service, a wholesaler's ERREUR, or
// any other failure.
ReponseEnregistree::Etat etatEchec(const QString &message);

// A one-product query for `codeDemande` at account n: its line (the one naming the code asked,
// else the first), or its failure.
QList<ReponseEnregistree> echange(ReponseEnregistree::Source source, qint16 n, const QString &codeDemande,
                                  const ResultatEchange &resultat, const QString &refMessage);

// The answers an account gave during a list check for `codes`; those still waiting or cancelled
// are left out.
QList<ReponseEnregistree> liste(ReponseEnregistree::Source source, const ReponsesCompte &compte,
                                const QStringList &codes);

// "NATURE=amount" pairs joined by ";", amounts without their leading zeros.
QString prix(const QList<PrixLigne> &prix);

} // namespace Releve
