#include "remplacefichier.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStorageInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Before any byte is written: the new file private, a replaced one as it was (the save file copies
// the mode but creates the copy as its writer). Only root can give a file away; another user sharing
// the folder saves as before.
bool protege(QSaveFile &out, const QFileInfo &before, Acces acces)
{
#ifdef Q_OS_UNIX
    if (!before.exists())
        return acces == Acces::Document || ::fchmod(out.handle(), S_IRUSR | S_IWUSR) == 0;
    if (before.ownerId() != ::geteuid() || before.groupId() != ::getegid())
        return ::fchown(out.handle(), before.ownerId(), before.groupId()) == 0 || ::geteuid() != 0;
#else
    Q_UNUSED(out);
    Q_UNUSED(before);
    Q_UNUSED(acces);
#endif
    return true;
}

} // namespace

QFileDevice::FileError remplaceFichier(const QString &path, QByteArrayView bytes, Acces acces)
{
    const QFileInfo before(path);
    // Never in place of a pipe or of a device a link points to: the rename would replace it.
    if (before.exists() && !before.isFile())
        return QFileDevice::OpenError;
    QSaveFile out(path);
    // A file system that runs out of room mid-way answers with a short count and no error, and
    // the save file would still commit what it got: written unbuffered, the count tells at once.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return out.error();
    if (!protege(out, before, acces)) {
        out.cancelWriting();
        return QFileDevice::PermissionsError;
    }
    if (out.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QFileDevice::FileError error = out.error();
        out.cancelWriting();
        return error == QFileDevice::NoError ? QFileDevice::ResourceError : error;
    }
    if (!out.commit())
        return out.error() == QFileDevice::NoError ? QFileDevice::WriteError : out.error();
    return QFileDevice::NoError;
}

QString raisonEchec(const QString &path, QFileDevice::FileError error, qint64 needed)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!accessibleEnEcriture(QFileInfo(folder)))
        return QStringLiteral("dossier en lecture seule");
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return QStringLiteral("ce n'est pas un fichier ordinaire");
    if (error == QFileDevice::PermissionsError)
        return QStringLiteral("fichier en lecture seule");
    return error == QFileDevice::ResourceError || QStorageInfo(folder).bytesAvailable() < needed
               ? QStringLiteral("disque plein")
               : QStringLiteral("erreur d'écriture");
}

bool accessibleEnEcriture(const QFileInfo &info)
{
    return info.isWritable() && (info.permissions() & QFileDevice::WriteOwner);
}

void nettoieCopiesTemporaires(const QString &path)
{
    const QFileInfo file(path);
    const QRegularExpression copie(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(file.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    QDir folder = file.absoluteDir();
    for (const QFileInfo &f :
         folder.entryInfoList({file.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
        if (copie.match(f.fileName()).hasMatch())
            folder.remove(f.fileName());
}
