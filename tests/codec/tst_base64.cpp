#include "base64.h"

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

class TestBase64 : public QObject {
    Q_OBJECT
private slots:
    void knownTexts_data();
    void knownTexts();
    void lineBreaking_data();
    void lineBreaking();
    void digestGives24Characters();
    void oneLineNeverBreaks();
};

void TestBase64::knownTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("one byte") << "f" << "Zg==";
    QTest::newRow("two bytes") << "fo" << "Zm8=";
    QTest::newRow("three bytes") << "foo" << "Zm9v";
    QTest::newRow("user:password") << "user:pass" << "dXNlcjpwYXNz";
    QTest::newRow("Windows-1252 bytes") << "é€" << "6YA=";
}

void TestBase64::knownTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(Base64().Encode64(text), encoded);
}

void TestBase64::lineBreaking_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("lineLengths");
    QTest::addColumn<bool>("finalBreak");
    QTest::newRow("57 bytes: one line, no break") << 57 << QList<int>{76} << false;
    QTest::newRow("58 bytes: 76 + 4") << 58 << QList<int>{76, 4} << false;
    QTest::newRow("114 bytes: two full lines") << 114 << QList<int>{76, 76} << true;
    QTest::newRow("115 bytes: 76 + 76 + 4") << 115 << QList<int>{76, 76, 4} << false;
    QTest::newRow("56 bytes: 76 with padding") << 56 << QList<int>{76} << false;
    QTest::newRow("113 bytes: second line ends in padding") << 113 << QList<int>{76, 76} << true;
    QTest::newRow("112 bytes: 76 + 76 with two pads") << 112 << QList<int>{76, 76} << true;
    QTest::newRow("0 bytes") << 0 << QList<int>{} << false;
}

void TestBase64::lineBreaking()
{
    QFETCH(int, length);
    QFETCH(QList<int>, lineLengths);
    QFETCH(bool, finalBreak);
    const QByteArray data = bytes(length);
    const QString text = Base64().EncodeArray64(data);

    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (finalBreak)
        QCOMPARE(lines.takeLast(), QString());
    QList<int> lengths;
    for (const QString &l : lines)
        if (!l.isEmpty() || length)
            lengths << int(l.size());
    QCOMPARE(lengths, lineLengths);
    QVERIFY(!text.contains(u'\n') || text.count(QStringLiteral("\r\n")) == text.count(u'\n'));
    QCOMPARE(lines.join(QString()), QString::fromLatin1(data.toBase64()));
}

void TestBase64::digestGives24Characters()
{
    const QString text = Base64().EncodeArray64(bytes(16));
    QCOMPARE(text.size(), 24);
    QVERIFY(text.endsWith(QStringLiteral("==")));
}

void TestBase64::oneLineNeverBreaks()
{
    const QByteArray data = bytes(300);
    QCOMPARE(Base64().EncodeArray64OneLine(data), QString::fromLatin1(data.toBase64()));
}

QTEST_APPLESS_MAIN(TestBase64)
#include "tst_base64.moc"
