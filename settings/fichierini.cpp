#include "fichierini.h"

#include "privateprofile.h"
#include "remplacefichier.h"
#include "runtimeerror.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>
#include <QThread>

#include <algorithm>
#include <exception>
#include <new>

namespace {

constexpr qsizetype valueLimit = 1023; // the platform's 1024-character buffer, less its terminator
constexpr qint64 sizeLimit = 16 * 1024 * 1024; // far beyond any settings file

QString programDirectory;
QString lastPath;
QString refusal;
std::chrono::milliseconds lockWait = std::chrono::seconds(2);
FichierINI::Rapporteur reporter;

// Like a read-only attribute on Windows, a missing owner write bit refuses the write even to an
// administrator (root here).
bool writable(const QFileInfo &info)
{
    return info.isWritable() && (info.permissions() & QFileDevice::WriteOwner);
}

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

// At most the first 16 MiB of an open regular file.
QByteArray head(QFile &f)
{
    return f.read(std::min(f.size(), sizeLimit));
}

// Polls the lock, so that a writer waits only as long as the other one holds it.
bool take(QLockFile &lock)
{
    const QDeadlineTimer deadline(lockWait);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

// A failed write of `needed` bytes in that folder, in the user's words.
QString writeFailure(const QString &folder, qint64 needed, bool full = false)
{
    return full || QStorageInfo(folder).bytesAvailable() < needed ? QStringLiteral("disque plein")
                                                                   : QStringLiteral("erreur d'écriture");
}

// Stores the value under the lock; the reason when it could not, empty when done.
QString store(const QString &path, const QString &section, const QString &key, const QString &value)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!writable(QFileInfo(folder)))
        return QStringLiteral("dossier en lecture seule");
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!take(lock)) {
        switch (lock.error()) {
        case QLockFile::LockFailedError:
            return QStringLiteral("fichier utilisé par un autre programme");
        case QLockFile::PermissionError:
            return QStringLiteral("dossier en lecture seule");
        default:
            return writeFailure(folder, 1);
        }
    }
    const QFileInfo info(path);
    QByteArray content;
    if (info.exists()) {
        if (!info.isFile())
            return QStringLiteral("fichier illisible");
        if (!writable(info))
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
    if (error == QFileDevice::NoError)
        return {};
    if (error == QFileDevice::PermissionsError)
        return QStringLiteral("fichier en lecture seule");
    return writeFailure(folder, bytes.size(), error == QFileDevice::ResourceError);
}

} // namespace

namespace FichierINI {

void setRepertoireProgramme(const QString &directory) { programDirectory = directory; }
QString repertoireProgramme() { return programDirectory; }
void setRapporteur(Rapporteur r) { reporter = std::move(r); }
QString CheminIni() { return lastPath; }
QString RaisonRefus() { return refusal; }
void setAttenteVerrou(std::chrono::milliseconds wait) { lockWait = wait; }

QString LireIni(const QString &section, const QString &key, const QString &defaut, const QString &file)
{
    try {
        const QString path = pathFor(file);
        const QFileInfo info(path);
        // Checked before opening: opening a pipe would wait for a writer, a device never ends.
        if (info.exists() && !info.isFile())
            throw RuntimeError::pathFileAccess();
        QFile f(path);
        // A file that is absent or cannot be read answers with the default, as the platform does.
        if (!f.open(QIODevice::ReadOnly))
            return defaut.left(valueLimit);
        bool found = false;
        const QString value = PrivateProfile::readValue(head(f), section, key, &found);
        return (found ? value : defaut).left(valueLimit);
    } catch (const RuntimeError &e) {
        report(QStringLiteral("Lecture Error"), e);
    } catch (const std::exception &e) {
        report(QStringLiteral("Lecture Error"), RuntimeError::from(e));
    }
    return {};
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

bool FichierExiste(const QString &path) { return QFileInfo(path).isFile(); }

} // namespace FichierINI
