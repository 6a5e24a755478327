#include "dossierparametres.h"

#include "fichierini.h"
#include "remplacefichier.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString nomIni = QStringLiteral("Solvarin.ini");
constexpr qint64 tailleMax = 16 * 1024 * 1024; // far beyond any settings file

QString partage(const QString &dossierProgramme)
{
    return QDir(dossierProgramme).filePath(QStringLiteral("../share/solvarin"));
}

bool installe(const QString &dossierProgramme)
{
    return QFileInfo(partage(dossierProgramme)).isDir();
}

// The settings a technician prepared once for every user, as a regular file of sensible size.
QByteArray modele(const QString &dossierProgramme)
{
    const QDir programme(dossierProgramme);
    for (const QString &chemin :
         {programme.filePath(nomIni), programme.filePath(QStringLiteral("../etc/solvarin/") + nomIni),
          QStringLiteral("/etc/solvarin/") + nomIni}) {
        const QFileInfo info(chemin);
        QFile f(chemin);
        if (info.isFile() && info.size() <= tailleMax && f.open(QIODevice::ReadOnly))
            return f.readAll();
    }
    return {};
}

} // namespace

namespace DossierParametres {

QString etablis(const QString &dossierProgramme)
{
    if (!installe(dossierProgramme) && accessibleEnEcriture(QFileInfo(dossierProgramme)))
        return QDir(dossierProgramme).absolutePath();
    const QString dossier = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                                .filePath(QStringLiteral("Solvarin"));
    // Private from the start: it will hold the accounts' keys.
    if (!QFileInfo::exists(dossier) && QDir().mkpath(dossier))
        QFile::setPermissions(dossier, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString ini = QDir(dossier).filePath(nomIni);
    if (!QFileInfo::exists(ini) && QFileInfo(dossier).isDir()) {
        const QByteArray contenu = modele(dossierProgramme);
        if (!contenu.isEmpty())
            remplaceFichier(ini, contenu);
    }
    return dossier;
}

QString etablisPourCeProgramme()
{
    const QString dossier = etablis(QCoreApplication::applicationDirPath());
    FichierINI::setRepertoireProgramme(dossier);
    return dossier;
}

QString fichierLivre(const QString &nom)
{
    const QString programme = QCoreApplication::applicationDirPath();
    const QString aCote = QDir(programme).filePath(nom);
    return QFileInfo::exists(aCote) ? aCote : QDir(partage(programme)).filePath(nom);
}

} // namespace DossierParametres
