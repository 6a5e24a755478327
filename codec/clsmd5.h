#pragma once

#include <QByteArray>
#include <QString>

// MD5 message digest (RFC 1321). Digests are the 16 raw bytes in RFC output order.
// Keeps no state between calls.
class ClsMD5 {
public:
    // Digests of the RFC 1321 test texts; they compare and show nothing (kept for diagnostics).
    void Test_md5_abc();
    void md5_test_suite();
    void test_md5_empty();
    void test_md5_around64();
    void test_md5_million_a();

    // Digest of the text's Windows-1252 bytes.
    QByteArray MD5_string(QStringView text) const;
    // Digest of the first `length` bytes; throws RuntimeError::overflow() from 268435455 bytes on.
    QByteArray MD5_bytes(QByteArrayView bytes, qint32 length) const;
};
