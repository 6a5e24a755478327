#include "clsmd5.h"
#include "runtimeerror.h"

#include <QCryptographicHash>
#include <QTest>

class TestClsMD5 : public QObject {
    Q_OBJECT
private slots:
    void rfc1321Vectors_data();
    void rfc1321Vectors();
    void aroundBlockBoundary_data();
    void aroundBlockBoundary();
    void millionA();
    void stringUsesWindows1252Bytes();
    void bytesHonoursLength();
    void overflowFromLimit();
    void testOperationsRun();
};

void TestClsMD5::rfc1321Vectors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("empty") << "" << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
    QTest::newRow("a") << "a" << QByteArray("0cc175b9c0f1b6a831c399e269772661");
    QTest::newRow("abc") << "abc" << QByteArray("900150983cd24fb0d6963f7d28e17f72");
    QTest::newRow("message digest") << "message digest" << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
    QTest::newRow("alphabet") << "abcdefghijklmnopqrstuvwxyz" << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
    QTest::newRow("alphanumeric") << "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                  << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
    QTest::newRow("80 digits")
        << "12345678901234567890123456789012345678901234567890123456789012345678901234567890"
        << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
}

void TestClsMD5::rfc1321Vectors()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, hex);
    QCOMPARE(ClsMD5().MD5_string(text).toHex(), hex);
}

void TestClsMD5::aroundBlockBoundary_data()
{
    QTest::addColumn<int>("length");
    for (int n : {0, 1, 55, 56, 57, 62, 63, 64, 65, 119, 120, 127, 128, 129})
        QTest::addRow("%d bytes", n) << n;
}

void TestClsMD5::aroundBlockBoundary()
{
    QFETCH(int, length);
    QByteArray data(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        data[i] = char(i * 7 + 3);
    QCOMPARE(ClsMD5().MD5_bytes(data, length), QCryptographicHash::hash(data, QCryptographicHash::Md5));
}

void TestClsMD5::millionA()
{
    const QByteArray a(1000000, 'a');
    QCOMPARE(ClsMD5().MD5_bytes(a, a.size()).toHex(), QByteArray("7707d6ae4e027c70eea2a935c2296f21"));
}

void TestClsMD5::stringUsesWindows1252Bytes()
{
    // "é€" is 0xE9 0x80 in Windows-1252; "漢" has no byte there and hashes as "?".
    QCOMPARE(ClsMD5().MD5_string(u"é€"), QCryptographicHash::hash("\xE9\x80", QCryptographicHash::Md5));
    QCOMPARE(ClsMD5().MD5_string(u"a漢"), QCryptographicHash::hash("a?", QCryptographicHash::Md5));
}

void TestClsMD5::bytesHonoursLength()
{
    QCOMPARE(ClsMD5().MD5_bytes("abcdef", 3).toHex(), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
}

void TestClsMD5::overflowFromLimit()
{
    try {
        ClsMD5().MD5_bytes("abc", 268435455);
        QFAIL("no error raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number, 6);
        QCOMPARE(e.description, QStringLiteral("Overflow"));
    }
}

void TestClsMD5::testOperationsRun()
{
    ClsMD5 md5;
    md5.Test_md5_abc();
    md5.md5_test_suite();
    md5.test_md5_empty();
    md5.test_md5_around64();
    md5.test_md5_million_a();
}

QTEST_APPLESS_MAIN(TestClsMD5)
#include "tst_clsmd5.moc"
