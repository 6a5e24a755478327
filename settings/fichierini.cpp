#include "fichierini.h"

#include "privateprofile.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <exception>
#include <new>

namespace {

constexpr qsizetype valueLimit = 1023; // the platform's 1024-character buffer, less its terminator

QString programDirectory;
QString lastPath;
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

} // namespace

namespace FichierINI {

void setRepertoireProgramme(const QString &directory) { programDirectory = directory; }
QString repertoireProgramme() { return programDirectory; }
void setRapporteur(Rapporteur r) { reporter = std::move(r); }
QString CheminIni() { return lastPath; }

QString LireIni(const QString &section, const QString &key, const QString &defaut, const QString &file)
{
    try {
        QFile f(pathFor(file));
        // A file that is absent or cannot be read answers with the default, as the platform does.
        if (!f.open(QIODevice::ReadOnly))
            return defaut.left(valueLimit);
        bool found = false;
        const QString value = PrivateProfile::readValue(f.readAll(), section, key, &found);
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
        const QString path = pathFor(file);
        const QFileInfo info(path);
        if (!writable(QFileInfo(info.absolutePath())))
            return 0;
        QByteArray content;
        if (info.exists()) {
            QFile f(path);
            if (!info.isFile() || !writable(info) || !f.open(QIODevice::ReadOnly))
                return 0;
            content = f.readAll();
        }
        // Write a temporary file beside it, then rename: a crash never leaves half a file.
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            return 0;
        out.write(PrivateProfile::writeValue(content, section, key, value));
        return out.commit() ? 1 : 0;
    } catch (const RuntimeError &e) {
        report(QStringLiteral("Ecriture Error"), e);
    } catch (const std::exception &e) {
        report(QStringLiteral("Ecriture Error"), RuntimeError::from(e));
    }
    return 0;
}

bool FichierExiste(const QString &path) { return QFileInfo(path).isFile(); }

} // namespace FichierINI
