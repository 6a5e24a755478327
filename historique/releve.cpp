#include "releve.h"

#include "compterepartiteur.h"
#include "comptes.h"
#include "fichierini.h"
#include "modpharmaml.h"
#include "reponseliste.h"
#include "tableauliste.h"

namespace {

ReponseEnregistree entete(ReponseEnregistree::Source source, qint16 n, const QString &codeDemande)
{
    ReponseEnregistree r;
    r.horodatage = QDateTime::currentDateTime();
    r.source = source;
    r.compte = n;
    r.repartiteur = Comptes::nom(n);
    r.idRepartiteur =
        FichierINI::LireIni(CompteRepartiteur::Cles::section,
                            CompteRepartiteur::cle(CompteRepartiteur::Cles::idRepart, n), QString());
    r.codeDemande = codeDemande;
    return r;
}

void remplitLigne(ReponseEnregistree &r, const LigneReponse &ligne)
{
    switch (ligne.disponibilite) {
    case Disponibilite::Disponible:
        r.etat = ReponseEnregistree::Etat::Disponible;
        break;
    case Disponibilite::NonDisponible:
        r.etat = ReponseEnregistree::Etat::NonDisponible;
        break;
    case Disponibilite::Autre:
        r.etat = ReponseEnregistree::Etat::Autre;
        break;
    }
    r.codeRepondu = ligne.codeProduit;
    r.designation = ligne.designation;
    r.codeReponse = ligne.codeReponse;
    r.motif = ReponseListe::motif(ligne);
    r.prix = Releve::prix(ligne.prix);
    if (ligne.retourPrevu.date.isValid())
        r.datePrevue = ligne.retourPrevu.date.toString(Qt::ISODate);
    r.heurePrevue = ligne.retourPrevu.heure;
    r.quantitePrevue = ligne.retourPrevu.quantite;
    r.remplacantCode = ligne.remplacant.codeProduit;
    r.remplacantDesignation = ligne.remplacant.designation;
    r.remplacantType = ligne.remplacant.typeRemplacement;
    r.commentaire = ligne.commentaire;
}

} // namespace

namespace Releve {

ReponseEnregistree::Etat etatEchec(const QString &message)
{
    if (message == QLatin1String("Retour : fin de service"))
        return ReponseEnregistree::Etat::FinService;
    if (message.startsWith(QLatin1String("Retour : Erreur")))
        return ReponseEnregistree::Etat::Erreur;
    return ReponseEnregistree::Etat::Echec;
}

QString prix(const QList<PrixLigne> &prix)
{
    QStringList paires;
    for (const PrixLigne &p : prix) {
        QString montant = p.valeur;
        paires << p.nature + u'=' + ModPharmaML::PML_SupprimeZeros(montant);
    }
    return paires.join(u';');
}

QList<ReponseEnregistree> echange(ReponseEnregistree::Source source, qint16 n, const QString &codeDemande,
                                  const ResultatEchange &resultat, const QString &refMessage)
{
    ReponseEnregistree r = entete(source, n, codeDemande);
    r.refMessage = refMessage;
    if (resultat.issue == ResultatEchange::Issue::Echec || resultat.lignes.isEmpty()) {
        // A reply without a line for the product is an answer too: the wholesaler left it out.
        r.etat = resultat.issue == ResultatEchange::Issue::Lignes ? ReponseEnregistree::Etat::Absent
                                                                  : etatEchec(resultat.message);
        r.motif = resultat.message;
        return {r};
    }
    const auto it = std::find_if(resultat.lignes.cbegin(), resultat.lignes.cend(),
                                 [&](const LigneReponse &l) { return l.codeProduit == codeDemande; });
    remplitLigne(r, it != resultat.lignes.cend() ? *it : resultat.lignes.first());
    return {r};
}

QList<ReponseEnregistree> liste(ReponseEnregistree::Source source, const ReponsesCompte &compte,
                                const QStringList &codes)
{
    QList<ReponseEnregistree> reponses;
    for (const QString &code : codes) {
        const ReponseCode reponse = compte.parCode.value(code);
        ReponseEnregistree r = entete(source, compte.numero, code);
        r.refMessage = reponse.refMessage;
        switch (reponse.etat) {
        case ReponseCode::Etat::Repondue:
            remplitLigne(r, reponse.ligne);
            break;
        case ReponseCode::Etat::Absente:
            r.etat = ReponseEnregistree::Etat::Absent;
            break;
        case ReponseCode::Etat::Echec:
            r.motif = TableauListe::motif(compte, reponse);
            r.etat = etatEchec(r.motif);
            break;
        case ReponseCode::Etat::Attente:
        case ReponseCode::Etat::Annulee:
            continue;
        }
        reponses.append(r);
    }
    return reponses;
}

} // namespace Releve
