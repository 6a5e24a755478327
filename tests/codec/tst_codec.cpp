#include "base64.h"
#include "clsmd5.h"
#include "runtimeerror.h"
#include "windows1252.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

namespace {

QByteArray bytes(int n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char(i * 37 + 11);
    return b;
}

} // namespace

// Each codec against an independent reference: Qt's Base64 and MD5, ICU's Windows-1252.
class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void blocks_data()
    {
        QTest::addColumn<int>("length");
        // Base64 around its one-line limit (57 bytes, 76 characters) and the second line, with every
        // padding; MD5 around its 64-byte blocks and the 56 bytes that leave room for the length.
        for (int n : {0, 2, 3, 55, 56, 57, 58, 63, 64, 65, 113, 114, 119, 120, 128, 1000000})
            QTest::addRow("%d bytes", n) << n;
    }
    void blocks()
    {
        QFETCH(int, length);
        const QByteArray data = bytes(length);
        QCOMPARE(ClsMD5().MD5_bytes(data, length), QCryptographicHash::hash(data, QCryptographicHash::Md5));
        const QString reference = QString::fromLatin1(data.toBase64());
        // One line when it fits in 76 characters; else CR LF after every complete line, the last included.
        const QString lines = QString(reference).replace(QRegularExpression("(.{76})"), "\\1\r\n");
        QCOMPARE(Base64().EncodeArray64(data), reference.size() > 76 ? lines : reference);
        QCOMPARE(Base64().EncodeArray64OneLine(data), reference);
    }
    void textAndLimits()
    {
        QCOMPARE(Base64().Encode64(u"user:pass"), QStringLiteral("dXNlcjpwYXNz"));
        QCOMPARE(Base64().Encode64(u"é€"), QStringLiteral("6YA=")); // its Windows-1252 bytes
        // "é€" is 0xE9 0x80 in Windows-1252; "漢" has no byte there and hashes as "?".
        QCOMPARE(ClsMD5().MD5_string(u"é€漢"),
                 QCryptographicHash::hash("\xE9\x80?", QCryptographicHash::Md5));
        QCOMPARE(ClsMD5().MD5_bytes("abcdef", 3).toHex(), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
        try {
            ClsMD5().MD5_bytes("abc", 268435455);
            QFAIL("no error raised");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number, 6);
            QCOMPARE(e.description, QStringLiteral("Overflow"));
        }
        // One "?" for each character without a byte, a surrogate pair being one character.
        QCOMPARE(Windows1252::fromText(QString::fromUtf8("aΩ漢😀b")), QByteArray("a???b"));
    }
    void windows1252EveryByte()
    {
        QStringDecoder icu("windows-1252");
        if (!icu.isValid())
            QSKIP("Qt has no ICU here: no reference for Windows-1252");
        const QByteArray all = bytes(256); // every byte once, 37 being odd
        QCOMPARE(Windows1252::toText(all), QString(icu(all)));
        QCOMPARE(Windows1252::fromText(Windows1252::toText(all)), all);
    }
};

QTEST_APPLESS_MAIN(TestCodec)
#include "tst_codec.moc"
