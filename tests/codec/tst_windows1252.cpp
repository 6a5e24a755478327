#include "windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void unmappableBecomesQuestionMark_data();
    void unmappableBecomesQuestionMark();
    void everyByteRoundTrips();
};

void TestWindows1252::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "Pharmacie 12" << QByteArray("Pharmacie 12");
    QTest::newRow("euro") << "€" << QByteArray("\x80");
    QTest::newRow("oe") << "œ" << QByteArray("\x9C");
    QTest::newRow("Y diaeresis") << "Ÿ" << QByteArray("\x9F");
    QTest::newRow("Latin-1 accents") << "àéÉç" << QByteArray("\xE0\xE9\xC9\xE7");
    QTest::newRow("quotes and dash") << "‘’“”–—" << QByteArray("\x91\x92\x93\x94\x96\x97");
}

void TestWindows1252::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Windows1252::fromText(text), bytes);
    QCOMPARE(Windows1252::toText(bytes), text);
}

void TestWindows1252::unmappableBecomesQuestionMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Greek") << "aΩb" << QByteArray("a?b");
    QTest::newRow("CJK") << "漢" << QByteArray("?");
    QTest::newRow("emoji is one character") << QString::fromUtf8("x\xF0\x9F\x98\x80y") << QByteArray("x?y");
}

void TestWindows1252::unmappableBecomesQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Windows1252::fromText(text), bytes);
}

void TestWindows1252::everyByteRoundTrips()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    QCOMPARE(Windows1252::fromText(Windows1252::toText(all)), all);
}

QTEST_APPLESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
