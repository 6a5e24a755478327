#pragma once

#include <QByteArray>
#include <QString>

// MD5 message digest (RFC 1321). Digests are the 16 raw bytes in RFC output order.
// Keeps no state between calls.
class ClsMD5 {
public:
    // Digest of the text's Windows-1252 bytes.
    QByteArray MD5_string(QStringView text) const;
    // Digest of the first `length` bytes; throws RuntimeError::overflow() from 268435455 bytes on.
    QByteArray MD5_bytes(QByteArrayView bytes, qint32 length) const;
};
