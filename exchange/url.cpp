#include "url.h"

#include <QUrl>

namespace Http {

namespace {

bool injecte(QStringView texte)
{
    for (QChar c : texte) {
        if (c.isSpace() || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

// "%40" and the like as the bytes they stand for, read as UTF-8; a "%" that starts no escape stays.
QString decodePourcent(QStringView texte)
{
    return QUrl::fromPercentEncoding(texte.toUtf8());
}

} // namespace

QString UrlRepartiteur::hoteConnexion() const
{
    if (hote.startsWith(u'[') && hote.endsWith(u']'))
        return hote.mid(1, hote.size() - 2);
    return hote;
}

std::optional<UrlRepartiteur> decoupeUrl(QStringView url)
{
    UrlRepartiteur u;
    QStringView reste;
    if (url.left(7).compare(u"http://", Qt::CaseInsensitive) == 0) {
        reste = url.mid(7);
    } else if (url.left(8).compare(u"https://", Qt::CaseInsensitive) == 0) {
        reste = url.mid(8);
        u.https = true;
    } else {
        return std::nullopt;
    }
    const qsizetype barre = reste.indexOf(u'/');
    QStringView autorite = barre < 0 ? reste : reste.left(barre);
    if (barre >= 0)
        u.chemin = reste.mid(barre + 1).toString();
    // A fragment belongs to the reader of a page, never to the request.
    const qsizetype diese = u.chemin.indexOf(u'#');
    if (diese >= 0)
        u.chemin.truncate(diese);
    const qsizetype arobase = autorite.lastIndexOf(u'@');
    if (arobase >= 0) {
        u.ident = decodePourcent(autorite.left(arobase));
        autorite = autorite.mid(arobase + 1);
    }
    const qsizetype crochet = autorite.lastIndexOf(u']');
    if (autorite.startsWith(u'[') && crochet < 0)
        return std::nullopt;
    const qsizetype deuxPoints = autorite.lastIndexOf(u':');
    if (deuxPoints >= 0 && deuxPoints > crochet) {
        const QStringView chiffres = autorite.sliced(deuxPoints + 1);
        bool nombre = !chiffres.isEmpty() && chiffres.size() <= 5;
        for (QChar c : chiffres)
            nombre = nombre && c >= u'0' && c <= u'9';
        const uint port = nombre ? chiffres.toUInt() : 0;
        if (port < 1 || port > 65535)
            return std::nullopt;
        u.port = quint16(port);
        autorite.truncate(deuxPoints);
    }
    u.hote = autorite.toString();
    if (u.hote.isEmpty() || u.hote == QLatin1String("[]") || injecte(u.hote) || injecte(u.chemin))
        return std::nullopt;
    return u;
}

} // namespace Http
