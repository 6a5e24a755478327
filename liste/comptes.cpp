#include "comptes.h"

#include "fichierini.h"

namespace {

QString lis(const QString &stem, int n)
{
    return FichierINI::LireIni(QStringLiteral("Infos"), stem + QString::number(n), QString());
}

} // namespace

namespace Comptes {

const QStringList &cles()
{
    static const QStringList stems{QStringLiteral("NomRepart"),  QStringLiteral("IdRepart"),
                                   QStringLiteral("CodeRepart"), QStringLiteral("URLRepart"),
                                   QStringLiteral("NumeroCli"),  QStringLiteral("ClefCli")};
    return stems;
}

bool complet(int n)
{
    for (const QString &stem : cles()) {
        if (lis(stem, n).isEmpty())
            return false;
    }
    return true;
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
    return lis(QStringLiteral("NomRepart"), n);
}

} // namespace Comptes
