#pragma once

#include <QByteArray>
#include <QString>

// Base64 encoder (RFC 2045 alphabet, "=" padding). No decoding.
class Base64 {
public:
    // Base64 of the text's Windows-1252 bytes, with MIME line breaking.
    QString Encode64(QStringView text) const;
    // Base64 of all the bytes, with MIME line breaking: beyond 76 characters, CR LF follows every
    // complete line of 76 characters.
    QString EncodeArray64(QByteArrayView bytes) const;
    // Base64 of all the bytes on one line, for places where a line break would be harmful
    // (an HTTP header).
    QString EncodeArray64OneLine(QByteArrayView bytes) const;
};
