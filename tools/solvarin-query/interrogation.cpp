#include "interrogation.h"

#include "compterepartiteur.h"
#include "fichierini.h"
#include "historique.h"
#include "modpharmaml.h"
#include "zonetexte.h"

QStringList interrogeRepartiteur(const QString &repertoire, qint16 compte, const QString &cip,
                                 std::chrono::milliseconds delai)
{
    FichierINI::setRepertoireProgramme(repertoire);
    ZoneTexte zone(compte);
    zone.preparePourRequete();
    ModPharmaML module(zone);
    module.setDelaiAttente(delai);
    module.PML_EnvoieUneRequete(cip + QStringLiteral(",1"), CompteRepartiteur::lis(compte));
    Historique::enregistreEchange(ReponseEnregistree::Source::Console, compte, cip, module.dernierResultat(),
                                  module.echange().requete().refMessage());
    return zone.lignes();
}
