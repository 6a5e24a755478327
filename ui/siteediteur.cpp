#include "siteediteur.h"

#include "compterepartiteur.h"
#include "fichierini.h"

namespace {

const QString defaultBase = QStringLiteral("https://www.ardevio.fr");

QUrl withPath(const QString &path)
{
    QUrl url = SiteEditeur::adresseBase();
    QString basePath = url.path();
    while (basePath.endsWith(u'/'))
        basePath.chop(1);
    url.setPath(basePath + path);
    return url;
}

} // namespace

namespace SiteEditeur {

QUrl adresseBase()
{
    const QString configured =
        FichierINI::LireIni(CompteRepartiteur::Cles::section, QStringLiteral("URLEditeur"), QString())
            .trimmed();
    const QUrl url(configured, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() ? url : QUrl(defaultBase);
}

QUrl pageInfos(const QString &adeli)
{
    QUrl url = withPath(QStringLiteral("/Infos.php"));
    url.setQuery(QStringLiteral("ADL=") + QString::fromLatin1(QUrl::toPercentEncoding(adeli)),
                 QUrl::StrictMode);
    return url;
}

QUrl pageAide()
{
    return withPath(QStringLiteral("/solvarin.php"));
}

QUrl pageAccueil()
{
    return withPath(QStringLiteral("/"));
}

QString texteAccueil()
{
    QString text = pageAccueil().toDisplayString(QUrl::RemoveScheme).mid(2);
    while (text.endsWith(u'/'))
        text.chop(1);
    return text;
}

QString nomHote()
{
    return adresseBase().host();
}

} // namespace SiteEditeur
