#include "manquants.h"

namespace Manquants {

QStringList codes(const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes)
{
    QStringList manquants;
    for (const LigneListe &l : lignes) {
        bool repondu = false;
        bool disponible = false;
        for (const ReponsesCompte &compte : comptes) {
            const ReponseCode reponse = compte.parCode.value(l.code);
            repondu = repondu || reponse.etat == ReponseCode::Etat::Repondue;
            disponible = disponible || (reponse.etat == ReponseCode::Etat::Repondue &&
                                        reponse.ligne.disponibilite == Disponibilite::Disponible);
        }
        if (l.valide() && repondu && !disponible)
            manquants << l.code;
    }
    return manquants;
}

} // namespace Manquants
