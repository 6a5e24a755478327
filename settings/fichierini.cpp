#include "fichierini.h"

#include "privateprofile.h"
#include "remplacefichier.h"
#include "runtimeerror.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <exception>
#include <new>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#endif

namespace {

constexpr qsizetype valueLimit = 1023;         // the platform's 1024-character buffer, less its terminator
constexpr qint64 sizeLimit = 16 * 1024 * 1024; // far beyond any settings file

QString programDirectory;
QString lastPath;
QString refusal;
std::chrono::milliseconds lockWait = std::chrono::seconds(2);
FichierINI::Rapporteur reporter;
QSet<QString> reported;

QString pathFor(const QString &file)
{
    lastPath = file.isEmpty() ? QDir(programDirectory).filePath(QStringLiteral("Solvarin.ini")) : file;
    return lastPath;
}

void report(const QString &title, const RuntimeError &error)
{
    if (reporter)
        reporter(title, error.description + u'\r' + QString::number(error.number));
}

// A settings file that cannot be read at all is told once, by name, not at every value read from it.
void reportOnce(const QString &path)
{
    if (reported.contains(path) || !reporter)
        return;
    reported.insert(path);
    reporter(
        QStringLiteral("Lecture Error"),
        QStringLiteral("Le fichier %1 n'est pas lu : ce n'est pas un fichier ordinaire (tube, périphérique "
                       "ou dossier). Les valeurs par défaut sont utilisées.")
            .arg(QDir::toNativeSeparators(path)));
}

// At most the first 16 MiB of an open regular file.
QByteArray head(QFile &f)
{
    return f.read(std::min(f.size(), sizeLimit));
}

// An empty lock that no process holds: its writer ended between making it and writing its name
// into it. The lock would only count as stale after 30 s; it is taken over as soon as it is older
// than the instant a live writer needs between those two steps.
bool abandoned(const QString &lockPath)
{
#ifdef Q_OS_UNIX
    constexpr qint64 instant = 200; // ms
    QFile f(lockPath);
    if (!f.open(QIODevice::ReadOnly) || f.size() != 0 ||
        QFileInfo(f).lastModified().msecsTo(QDateTime::currentDateTime()) < instant)
        return false;
    // A live owner locks it (flock) right after making it.
    return ::flock(f.handle(), LOCK_EX | LOCK_NB) == 0;
#else
    Q_UNUSED(lockPath);
    return false;
#endif
}

// Polls the lock, so that a writer waits only as long as the other one holds it.
bool take(QLockFile &lock, const QString &lockPath)
{
    const QDeadlineTimer deadline(lockWait);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        if (abandoned(lockPath)) {
            QFile::remove(lockPath);
            continue;
        }
        QThread::msleep(5);
    }
    return true;
}

// Stores the value under the lock; the reason when it could not, empty when done.
QString store(const QString &path, const QString &section, const QString &key, const QString &value)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!accessibleEnEcriture(QFileInfo(folder)))
        return QStringLiteral("dossier en lecture seule");
    const QString lockPath = path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!take(lock, lockPath)) {
        switch (lock.error()) {
        case QLockFile::LockFailedError:
            return QStringLiteral("fichier utilisé par un autre programme");
        case QLockFile::PermissionError:
            return QStringLiteral("dossier en lecture seule");
        default:
            return raisonEchec(path, QFileDevice::WriteError, 1);
        }
    }
    nettoieCopiesTemporaires(path);
    const QFileInfo info(path);
    QByteArray content;
    if (info.exists()) {
        if (!info.isFile())
            return QStringLiteral("fichier illisible");
        if (!accessibleEnEcriture(info))
            return QStringLiteral("fichier en lecture seule");
        // Only the first 16 MiB are ever read: storing into a larger file would lose its end.
        if (info.size() > sizeLimit)
            return QStringLiteral("fichier trop volumineux");
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QStringLiteral("fichier illisible");
        content = head(f);
    }
    const QByteArray bytes = PrivateProfile::writeValue(content, section, key, value);
    const QFileDevice::FileError error = remplaceFichier(path, bytes);
    return error == QFileDevice::NoError ? QString() : raisonEchec(path, error, bytes.size());
}

} // namespace

namespace FichierINI {

void setRepertoireProgramme(const QString &directory)
{
    programDirectory = directory;
}
QString repertoireProgramme()
{
    return programDirectory;
}
void setRapporteur(Rapporteur r)
{
    reporter = std::move(r);
}
QString CheminIni()
{
    return lastPath;
}
QString RaisonRefus()
{
    return refusal;
}
void setAttenteVerrou(std::chrono::milliseconds wait)
{
    lockWait = wait;
}

std::optional<QString> LireIniPresente(const QString &section, const QString &key, const QString &file)
{
    try {
        const QString path = pathFor(file);
        const QFileInfo info(path);
        // Checked before opening: opening a pipe would wait for a writer, a device never ends.
        if (info.exists() && !info.isFile()) {
            reportOnce(path);
            return std::nullopt;
        }
        QFile f(path);
        // A file that is absent or cannot be read holds no key, as the platform sees it.
        if (!f.open(QIODevice::ReadOnly))
            return std::nullopt;
        bool found = false;
        const QString value = PrivateProfile::readValue(head(f), section, key, &found);
        if (!found)
            return std::nullopt;
        return value.left(valueLimit);
    } catch (const RuntimeError &e) {
        report(QStringLiteral("Lecture Error"), e);
    } catch (const std::exception &e) {
        report(QStringLiteral("Lecture Error"), RuntimeError::from(e));
    }
    return QString();
}

QString LireIni(const QString &section, const QString &key, const QString &defaut, const QString &file)
{
    return LireIniPresente(section, key, file).value_or(defaut.left(valueLimit));
}

qint32 EcrireIni(const QString &section, const QString &key, const QString &value, const QString &file)
{
    try {
        refusal = store(pathFor(file), section, key, value);
        return refusal.isEmpty() ? 1 : 0;
    } catch (const RuntimeError &e) {
        report(QStringLiteral("Ecriture Error"), e);
    } catch (const std::exception &e) {
        report(QStringLiteral("Ecriture Error"), RuntimeError::from(e));
    }
    refusal = QStringLiteral("erreur inattendue");
    return 0;
}

bool FichierExiste(const QString &path)
{
    return QFileInfo(path).isFile();
}

} // namespace FichierINI
