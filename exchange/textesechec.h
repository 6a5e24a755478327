#pragma once

#include <QString>

// What a failure of the wholesaler's side is called, the same at the counter, in the list and on the
// command line: named for what it is, never sent to check the key when the server is down.
namespace TextesEchec {

// An HTTP status other than 200. 401 and 403 are the refused credential: "Retour HTTP incorrect !
// (vérifier la clef secrète)"; any other status, "Retour HTTP incorrect : " and the status line as
// received without its "HTTP/1.1" (the status and its reason phrase), or the whole line when it is no
// HTTP status line.
QString statutHttp(int statut, const QString &ligneStatut);
// The status line without its "HTTP/1.1": the status and its reason phrase ("407 Proxy Authentication
// Required"), or the whole line when it is no HTTP status line.
QString statutRecu(const QString &ligneStatut);

// A Pharma-ML ERREUR, never without a reason: "Retour : Erreur " and its Detail; else its Statut
// without leading zeros, with " : " and its meaning when Pharma-ML defines one; else its
// Description_libre.
QString erreurRepartiteur(const QString &statut, const QString &detail, const QString &descriptionLibre);

// The meaning of an ERREUR Statut in words ("service non autorisé pour cette pharmacie"); "" for a
// statut Pharma-ML does not define.
QString sensStatut(int statut);

} // namespace TextesEchec
