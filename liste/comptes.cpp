#include "comptes.h"

#include "compterepartiteur.h"
#include "fichierini.h"

namespace Comptes {

bool complet(int n)
{
    return CompteRepartiteur::lis(qint16(n)).complet();
}

QList<qint16> complets()
{
    QList<qint16> numeros;
    for (qint16 n = 1; n <= 2; ++n) {
        if (complet(n))
            numeros.append(n);
    }
    return numeros;
}

QString nom(int n)
{
    using Cles = CompteRepartiteur::Cles;
    return FichierINI::LireIni(Cles::section, CompteRepartiteur::cle(Cles::nomRepart, n), QString());
}

} // namespace Comptes
