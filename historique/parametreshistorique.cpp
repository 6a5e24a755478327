#include "parametreshistorique.h"

#include "fichierini.h"

#include <QDir>
#include <QUrl>

namespace {

const QString section = QStringLiteral("Historique");

// The key's whole number, or `defaut` when it is absent, not a number or below `minimum`.
int entier(const QString &cle, int defaut, int minimum)
{
    bool ok = false;
    const int valeur = FichierINI::LireIni(section, cle, QString()).trimmed().toInt(&ok);
    return ok && valeur >= minimum ? valeur : defaut;
}

} // namespace

std::optional<ParametresHistorique> ParametresHistorique::lis(QString *erreur)
{
    auto parametres = depuisBase(FichierINI::LireIni(section, QStringLiteral("Base"), QString()),
                                 FichierINI::repertoireProgramme(), erreur);
    if (parametres) {
        parametres->heuresRupture = entier(QStringLiteral("HeuresRupture"), parametres->heuresRupture, 0);
        // A typing slip must not empty the history: it keeps at least a day.
        parametres->joursConservation =
            entier(QStringLiteral("JoursConservation"), parametres->joursConservation, 1);
    }
    return parametres;
}

std::optional<ParametresHistorique>
ParametresHistorique::depuisBase(const QString &base, const QString &repertoire, QString *erreur)
{
    ParametresHistorique p;
    if (base.trimmed().isEmpty()) {
        p.fichier = QDir(repertoire).filePath(QStringLiteral("Solvarin.db"));
        return p;
    }
    const QUrl url(base.trimmed(), QUrl::StrictMode);
    const QString chemin = url.path(QUrl::FullyDecoded);
    if (!url.isValid() || url.scheme().compare(QLatin1String("postgresql"), Qt::CaseInsensitive) != 0 ||
        url.host().isEmpty() || chemin.size() < 2 || chemin.indexOf(u'/', 1) >= 0) {
        if (erreur) {
            QUrl sansMotDePasse = url;
            sansMotDePasse.setPassword(QString());
            *erreur =
                QStringLiteral("adresse de base non reconnue : ") +
                (url.isValid() ? sansMotDePasse.toDisplayString() : QStringLiteral("[Historique] Base"));
        }
        return std::nullopt;
    }
    p.moteur = Moteur::PostgreSQL;
    p.hote = url.host();
    p.port = url.port(5432);
    p.base = chemin.mid(1);
    p.utilisateur = url.userName(QUrl::FullyDecoded);
    p.motDePasse = url.password(QUrl::FullyDecoded);
    return p;
}

QString ParametresHistorique::description() const
{
    if (moteur == Moteur::SQLite)
        return QDir::toNativeSeparators(fichier);
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(hote);
    url.setPort(port);
    url.setPath(u'/' + base);
    url.setUserName(utilisateur);
    return url.toDisplayString();
}
