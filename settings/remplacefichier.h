#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

class QFileInfo;

// Replaces the whole file at `path` with `bytes` in one step, so that no reader, other writer or
// crash ever meets half a file: the bytes go to a temporary file beside it, every write checked,
// which is then committed and renamed over it. A new file is readable by its owner alone (it may
// hold an account's key), unless it is a `Document` for others to read, made as the user's other
// files are; a replaced one keeps its owner and mode, even when root replaces it.
// Nothing replaces what is not a regular file (a pipe, a device). Returns NoError when done; on any failure
// the file is left as it was and the result tells why (ResourceError: the disk or the quota is full).
enum class Acces { Prive, Document };
QFileDevice::FileError remplaceFichier(const QString &path, QByteArrayView bytes, Acces acces = Acces::Prive);

// Why replacing `path` with `needed` bytes failed with `error`, in a few French words for the user:
// "dossier en lecture seule", "ce n'est pas un fichier ordinaire", "fichier en lecture seule",
// "disque plein" or "erreur d'écriture".
QString raisonEchec(const QString &path, QFileDevice::FileError error, qint64 needed);

// Whether a file or folder may be written. Like a read-only attribute on Windows, a missing owner
// write bit refuses the write even to an administrator (root here).
bool accessibleEnEcriture(const QFileInfo &info);

// Removes the temporary copies of `path` ("<name>.XXXXXX") that a writer ended mid-way left behind:
// they may hold a key. Only for a caller that holds the file's lock, so that none is in use.
void nettoieCopiesTemporaires(const QString &path);
