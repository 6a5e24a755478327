#include "proxy.h"

#include "compterepartiteur.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace Http {

namespace {

constexpr quint16 portProxyParDefaut = 1080;

// A proxy address as curl reads it: "http://" when no scheme is written; only HTTP proxies.
std::optional<Proxy> litProxy(const QString &texte)
{
    const QString adresse = texte.contains(QLatin1String("://")) ? texte : QLatin1String("http://") + texte;
    const std::optional<UrlRepartiteur> u = decoupeUrl(adresse);
    if (!u || u->https)
        return std::nullopt;
    return Proxy{u->hoteConnexion(), u->port.value_or(portProxyParDefaut), u->ident};
}

bool boucleLocale(const QString &hote)
{
    if (hote.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress adresse(hote);
    return !adresse.isNull() && adresse.isLoopback();
}

// One entry of no_proxy: "*", an address or network, or a host name that covers its subdomains too
// (a leading "." changes nothing).
bool exception(const QString &hote, QString entree)
{
    if (entree == QLatin1String("*"))
        return true;
    if (entree.startsWith(u'[')) {
        const qsizetype crochet = entree.indexOf(u']');
        entree = entree.mid(1, crochet - 1) + (crochet < 0 ? QString() : entree.mid(crochet + 1));
    }
    const QHostAddress adresse(hote);
    if (!adresse.isNull()) {
        const QPair<QHostAddress, int> reseau = QHostAddress::parseSubnet(entree);
        if (!reseau.first.isNull())
            return adresse.isInSubnet(reseau);
        return adresse.isEqual(QHostAddress(entree));
    }
    while (entree.startsWith(u'.'))
        entree.remove(0, 1);
    if (entree.isEmpty())
        return false;
    return hote.compare(entree, Qt::CaseInsensitive) == 0 ||
           hote.endsWith(u'.' + entree, Qt::CaseInsensitive);
}

} // namespace

ChoixProxy choisitProxy(const UrlRepartiteur &url, const QString &reglage,
                        const QProcessEnvironment &environnement)
{
    const QString choix = reglage.trimmed();
    if (choix.compare(QLatin1String("aucun"), Qt::CaseInsensitive) == 0)
        return {};
    if (!choix.isEmpty()) {
        const std::optional<Proxy> proxy = litProxy(choix);
        return proxy ? ChoixProxy{proxy, {}} : ChoixProxy{std::nullopt, CompteRepartiteur::Cles::proxy};
    }
    const QString hote = url.hoteConnexion();
    if (boucleLocale(hote))
        return {};
    const QString exceptions = environnement.contains(QStringLiteral("no_proxy"))
                                   ? environnement.value(QStringLiteral("no_proxy"))
                                   : environnement.value(QStringLiteral("NO_PROXY"));
    for (const QString &entree :
         exceptions.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        if (exception(hote, entree))
            return {};
    }
    QStringList variables{QStringLiteral("http_proxy")};
    if (url.https)
        variables = {QStringLiteral("https_proxy"), QStringLiteral("HTTPS_PROXY")};
    for (const QString &variable : variables) {
        const QString valeur = environnement.value(variable).trimmed();
        if (valeur.isEmpty())
            continue;
        const std::optional<Proxy> proxy = litProxy(valeur);
        return proxy ? ChoixProxy{proxy, {}} : ChoixProxy{std::nullopt, variable};
    }
    return {};
}

} // namespace Http
