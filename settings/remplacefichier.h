#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

// Replaces the whole file at `path` with `bytes` in one step, so that no reader, other writer or
// crash ever meets half a file: the bytes go to a temporary file beside it, every write checked,
// which is then committed and renamed over it. Returns NoError when done; on any failure the file
// is left as it was and the result tells why (ResourceError: the disk or the quota is full).
QFileDevice::FileError remplaceFichier(const QString &path, QByteArrayView bytes);
