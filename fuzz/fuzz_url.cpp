// URL splitting on arbitrary text, read from the settings file's bytes or as any UTF-16: a URL that
// is accepted splits back into what was written (its port as a number, its user information
// percent-decoded, no fragment), and the request written from it has the fixed header lines and
// nothing more (no header can be injected).
#include "http.h"
#include "windows1252.h"

#include <QUrl>

#include <cstdint>
#include <cstdlib>

namespace {

void verifie(bool condition)
{
    if (!condition)
        std::abort();
}

bool propre(QStringView texte)
{
    for (QChar c : texte)
        if (c.isSpace() || c.category() == QChar::Other_Control)
            return false;
    return true;
}

void essaie(const QString &url)
{
    const std::optional<Http::UrlRepartiteur> u = Http::decoupeUrl(url);
    if (!u)
        return;

    const qsizetype schema = url.indexOf(u"://");
    verifie(url.first(schema + 3).compare(u->https ? u"https://" : u"http://", Qt::CaseInsensitive) == 0);
    const QStringView reste = QStringView(url).sliced(schema + 3);
    const qsizetype barre = reste.indexOf(u'/');
    const QStringView autorite = barre < 0 ? reste : reste.first(barre);
    QStringView chemin = barre < 0 ? QStringView() : reste.sliced(barre + 1);
    if (const qsizetype diese = chemin.indexOf(u'#'); diese >= 0)
        chemin.truncate(diese);
    verifie(chemin == u->chemin);
    // The user information, percent-decoded, ends at the last "@".
    const qsizetype arobase = autorite.lastIndexOf(u'@');
    verifie(u->ident ==
            (arobase < 0 ? QString() : QUrl::fromPercentEncoding(autorite.first(arobase).toUtf8())));
    // The port, when there is one, is the number after the host, whatever zeros lead it.
    const QStringView hote = autorite.sliced(arobase + 1);
    verifie(u->port ? hote.startsWith(u->hote + u':') && hote.sliced(u->hote.size() + 1).toUInt() == *u->port
                    : hote == u->hote);
    verifie(!u->hote.isEmpty() && !u->hote.contains(u'/') && !u->hote.contains(u'@'));
    verifie(propre(u->hote) && propre(u->chemin));

    const QByteArray corps = "<a/>";
    const QByteArray requete = Http::requete(*u, QStringLiteral("AAAAAAAAAAAAAAAAAAAAAA=="), corps);
    const qsizetype blanc = requete.indexOf("\r\n\r\n");
    verifie(blanc > 0 && requete.sliced(blanc + 4) == corps + "\r\n");
    const QList<QByteArray> lignes = requete.first(blanc).split('\n');
    verifie(lignes.size() == (u->ident.isEmpty() ? 5 : 6));
    for (qsizetype i = 0; i < lignes.size(); ++i)
        verifie((i + 1 == lignes.size() || lignes[i].endsWith('\r')) && lignes[i].count('\r') <= 1);
    verifie(lignes[0] == "POST /" + Windows1252::fromText(u->chemin) + " HTTP/1.1\r");
    verifie(lignes.last() == "Content-Length: 4");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView octets(reinterpret_cast<const char *>(data), qsizetype(size));
    essaie(Windows1252::toText(octets));
    essaie(QString(reinterpret_cast<const QChar *>(data), qsizetype(size / 2)));
    return 0;
}
