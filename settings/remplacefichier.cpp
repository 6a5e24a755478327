#include "remplacefichier.h"

#include <QSaveFile>

QFileDevice::FileError remplaceFichier(const QString &path, QByteArrayView bytes)
{
    QSaveFile out(path);
    // A file system that runs out of room mid-way answers with a short count and no error, and
    // the save file would still commit what it got: written unbuffered, the count tells at once.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return out.error();
    if (out.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QFileDevice::FileError error = out.error();
        out.cancelWriting();
        return error == QFileDevice::NoError ? QFileDevice::ResourceError : error;
    }
    if (!out.commit())
        return out.error() == QFileDevice::NoError ? QFileDevice::WriteError : out.error();
    return QFileDevice::NoError;
}
