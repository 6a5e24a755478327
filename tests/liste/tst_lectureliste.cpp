#include "lectureliste.h"
#include "reponseliste.h"

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
    void moinsCher_data();
    void moinsCher();
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

// Two available answers, their prices "NATURE=amount" joined by spaces: the cheaper and the nature compared.
void TestLectureListe::moinsCher_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("moinsCher"); // "0 NETHT", "1 PHAHT" or "" for none
    QTest::newRow("net price first, as real replies differ") << "PHAHT=16.360 NETHT=13.910"
                                                              << "PHAHT=15.000 NETHT=14.200" << "0 NETHT";
    QTest::newRow("list price when a side has no net price") << "PHAHT=16.360 NETHT=13.910" << "PHAHT=15.000"
                                                              << "1 PHAHT";
    QTest::newRow("equal net prices decide nothing") << "PHAHT=2 NETHT=1.5" << "PHAHT=3 NETHT=1.500" << "";
    QTest::newRow("no purchase price on a side") << "PUBTC=2" << "PHAHT=1 NETHT=1" << "";
}

void TestLectureListe::moinsCher()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, moinsCher);
    const auto reponse = [](const QString &prix) {
        LigneReponse l;
        l.disponibilite = Disponibilite::Disponible;
        for (const QString &p : prix.split(u' '))
            l.prix.append({p.section(u'=', 0, 0), p.section(u'=', 1)});
        return l;
    };
    const std::optional<ReponseListe::Comparaison> c = ReponseListe::comparePrix(reponse(a), reponse(b));
    QCOMPARE(c ? QString::number(c->moinsCher) + u' ' + c->nature : QString(), moinsCher);
}

QTEST_GUILESS_MAIN(TestLectureListe)
#include "tst_lectureliste.moc"
