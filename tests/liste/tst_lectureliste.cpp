#include "codegs1.h"
#include "lectureliste.h"

#include <QTest>

// Each list line written "code×quantity", or "!text" for a line without a valid code.
static QString resume(const QList<LigneListe> &lignes)
{
    QStringList sortie;
    for (const LigneListe &l : lignes)
        sortie << (l.valide() ? l.code + u'×' + QString::number(l.quantite) : u'!' + l.texte);
    return sortie.join(QStringLiteral(" | "));
}

class TestLectureListe : public QObject {
    Q_OBJECT
private slots:
    void lignes_data();
    void lignes();
    void codesGs1_data();
    void codesGs1();
};

void TestLectureListe::lignes_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("liste");
    QTest::newRow("typed codes, blank lines, CR LF") << "3582910\r\n\r\n  2756339 \r\n"
                                                     << "3582910×1 | 2756339×1";
    QTest::newRow("code and quantity, typed") << "3582910 3\n3582910,2"
                                              << "3582910×5";
    QTest::newRow("spreadsheet row: number, code, dose in the name, quantity")
        << "1\t3582910\tDOLIPRANE 1000 MG CPR B/8\t2"
        << "3582910×2";
    QTest::newRow("French CSV with quotes and a price")
        << "\"Code\";\"Libellé\";\"Prix\";\"Qté\"\n\"3153342\";\"SPASFON\";\"3,95\";\"4\""
        << "!\"Code\";\"Libellé\";\"Prix\";\"Qté\" | 3153342×4";
    QTest::newRow("quantity 0 or of six digits is no quantity") << "3582910;0;123456"
                                                                << "3582910×1";
    QTest::newRow("CIP13 checked") << "3400935829108\n3400935829107"
                                   << "3400935829108×1 | !3400935829107";
    QTest::newRow("numbers of other lengths") << "358291 35829100\nDoliprane"
                                              << "!358291 35829100 | !Doliprane";
    QTest::newRow("GS1 string of a box, with and without symbology identifier")
        << "010340093582910817270131 10LOT42\n]d2010340093582910821ABC"
        << "3400935829108×2";
    QTest::newRow("GS1 string of a case (indicator 1) or with a wrong check digit")
        << "0113400935829105\n0103400935829107"
        << "!0113400935829105 | !0103400935829107";
    QTest::newRow("GS1 strings with AI 01 elsewhere, printed form")
        << "17281231\x1D"
           "10LOT42\x1D"
           "0103400935829108\n(01)03400935829108(17)281231(10)LOT42"
        << "3400935829108×2";
    QTest::newRow("quantities add up to the maximum") << "3582910,99999\n3582910,5"
                                                      << "3582910×99999";
}

void TestLectureListe::lignes()
{
    QFETCH(QString, texte);
    QFETCH(QString, liste);
    QList<LigneListe> lignes;
    LectureListe::ajoute(lignes, LectureListe::lis(texte));
    QCOMPARE(resume(lignes), liste);
}

// What the one GS1 reader makes of what scanners type: "CIP13 expiry lot serial", or the error's message.
void TestLectureListe::codesGs1_data()
{
    QTest::addColumn<QString>("scan");
    QTest::addColumn<QString>("lu");
    const QString tout = QStringLiteral("3400935829108 2028-12-31 LOT42 SN7");
    const QString pasDeCip = QStringLiteral("Code 2D non reconnu : pas de code CIP13 !");
    const QString incomplet = QStringLiteral("Code 2D incomplet : scannez la boîte à nouveau !");
    QTest::newRow("separator 0x1D") << "010340093582910817281231"
                                       "10LOT42\x1D"
                                       "21SN7"
                                    << tout;
    QTest::newRow("no separator: the lot runs to the end") << "01034009358291081728123110LOT4221SN7"
                                                           << "3400935829108 2028-12-31 LOT4221SN7 ";
    QTest::newRow("serial first, AI 01 last") << "21SN7\x1D"
                                                 "10LOT42\x1D"
                                                 "17281231"
                                                 "0103400935829108"
                                              << tout;
    QTest::newRow("Data Matrix identifier, leading FNC1") << "]d2\x1D"
                                                             "0103400935829108"
                                                             "17281231"
                                                             "10LOT42\x1D"
                                                             "21SN7"
                                                          << tout;
    QTest::newRow("GS1-128 and QR identifiers") << "]C10103400935829108"
                                                   "17281200"
                                                << "3400935829108 2028-12-31  ";
    QTest::newRow("]Q3, expiry day 00 of February 2028") << "]Q30103400935829108"
                                                            "17280200"
                                                         << "3400935829108 2028-02-29  ";
    QTest::newRow("printed form") << "(01)03400935829108(17)281231(10)LOT42(21)SN7" << tout;
    QTest::newRow("no AI 01") << "17281231"
                                 "10LOT42"
                              << pasDeCip;
    QTest::newRow("letters in AI 01") << "]d201034009358291A8" << pasDeCip;
    QTest::newRow("GTIN of a case") << "0113400935829105" << pasDeCip;
    QTest::newRow("wrong check digit") << "0103400935829107" << pasDeCip;
    QTest::newRow("printed GTIN of 13 digits") << "(01)3400935829108" << pasDeCip;
    QTest::newRow("expiry month 13") << "010340093582910817281331"
                                     << "Code 2D non reconnu : date de péremption invalide !";
    QTest::newRow("expiry of letters") << "(01)03400935829108(17)AB1231"
                                       << "Code 2D non reconnu : date de péremption invalide !";
    QTest::newRow("cut in the GTIN") << "]d20103400935" << incomplet;
    QTest::newRow("cut in the expiry") << "01034009358291081728" << incomplet;
    QTest::newRow("printed form cut") << "(01)03400935829108(17" << incomplet;
    QTest::newRow("more than 100 characters") << "0103400935829108"
                                                 "10" +
                                                     QString(90, u'A')
                                              << "Code 2D non reconnu : plus de 100 caractères !";
}

void TestLectureListe::codesGs1()
{
    QFETCH(QString, scan);
    QFETCH(QString, lu);
    QVERIFY(CodeGs1::estCodeGs1(scan));
    const CodeGs1::Lecture l = CodeGs1::lis(scan);
    const QStringList elements{l.cip13, l.peremption.toString(Qt::ISODate), l.lot, l.serie};
    QCOMPARE(l.erreur ? CodeGs1::message(*l.erreur) : elements.join(u' '), lu);
}

QTEST_GUILESS_MAIN(TestLectureListe)
#include "tst_lectureliste.moc"
