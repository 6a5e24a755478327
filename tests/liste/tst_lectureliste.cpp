#include "codeproduit.h"
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
    void cip13_data();
    void cip13();
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
    QTest::newRow("French CSV with quotes and a header")
        << "\"Code\";\"Libellé\";\"Prix\";\"Qté\"\n\"3153342\";\"SPASFON\";\"3,95\";\"4\""
        << "3153342×4";
    QTest::newRow("header: the price before the quantity is no quantity")
        << "Code\tDésignation\tPrix HT\tQté\n3582910\tDOLIPRANE\t2\t5\n3153342\tSPASFON\t3\t\n"
        << "3582910×5 | 3153342×1";
    QTest::newRow("header in other spellings and orders")
        << "QUANTITE;Libellé;cip13\n2;DOLIPRANE;3400935829108\n7;SPASFON;3153342"
        << "3400935829108×2 | 3153342×7";
    QTest::newRow("header: Qty and EAN, comma-separated") << "qty,ean\n3,3153342"
                                                          << "3153342×3";
    QTest::newRow("header: CIP and Quantité, with a line whose code cell is no code")
        << "N°\tCIP\tQuantité\n1\t3153342\t2\n2\tDOLIPRANE\t3582910"
        << "3153342×2 | !2\tDOLIPRANE\t3582910";
    QTest::newRow("a code column without a quantity column is no header") << "Code\tPrix\n3582910\t2"
                                                                          << "!Code\tPrix | 3582910×2";
    QTest::newRow("only the first line can be a header") << "3582910\nCode;Qté\n3153342;4"
                                                         << "3582910×1 | !Code;Qté | 3153342×4";
    QTest::newRow("a CIP and its CIP13 are one line, as first given")
        << "3582910,2\n3400935829108,3\n3400931533429\n3153342"
        << "3582910×5 | 3400931533429×2";
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

void TestLectureListe::cip13_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("cip13");
    QTest::newRow("CIP") << "3582910"
                         << "3400935829108";
    QTest::newRow("another CIP") << "3000110"
                                 << "3400930001103";
    QTest::newRow("CIP13 as it is") << "3400935829108"
                                    << "3400935829108";
    QTest::newRow("not a CIP") << "358291A"
                               << "358291A";
}

void TestLectureListe::cip13()
{
    QFETCH(QString, code);
    QFETCH(QString, cip13);
    QCOMPARE(CodeProduit::cip13(code), cip13);
}

QTEST_GUILESS_MAIN(TestLectureListe)
#include "tst_lectureliste.moc"
