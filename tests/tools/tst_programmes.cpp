#include "compteessai.h"
#include "fichierini.h"
#include "zonetexte.h"

#include <QDate>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString bin = QStringLiteral(SOLVARIN_BINARY_DIR "/bin/");

} // namespace

// The two programs as a support person runs them: the simulator started alone, the query against it.
class TestProgrammes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_sim.start(bin + "pharmaml-sim", {QStringLiteral("--port"), QStringLiteral("0")});
        QVERIFY(m_sim.waitForStarted());
        QTRY_VERIFY(m_sim.canReadLine());
        m_port = QString::fromLatin1(m_sim.readLine()).trimmed();
        QVERIFY(m_port.toUInt() > 0);

        FichierINI::setRepertoireProgramme(m_dir.path());
        QVERIFY(FichierINI::EcrireIni("Infos", "AdrPharmacie", "Pharmacie de l'Étoile") != 0);
        QVERIFY(ecritCompte(1, {.url = "http://127.0.0.1/pharmaml", .port = quint16(m_port.toUInt())}));
        QVERIFY(ecritCompte(2, {.nom = "PHOENIX",
                                .id = "23",
                                .code = "PHX",
                                .url = "ftp://127.0.0.1/pml",
                                .client = "123456",
                                .clef = "CLEF9876"}));
    }

    void cleanupTestCase()
    {
        m_sim.kill();
        m_sim.waitForFinished();
    }

    void requeteContreLeSimulateur_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "DIR" stands for the settings folder
        QTest::addColumn<QByteArray>("entree");
        QTest::addColumn<QString>("sortie");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QByteArray>("erreurs");
        const QString doliprane =
            "LabRetour(0)\t#000000\tDOLIPRANE 1000MG CPR B/8\n"
            "LabRetour(1)\t#000000\tPrix d'achat HT hors remise = 1.570\\r\\nPrix achat HT = "
            "1.490\\r\\nPrix public TTC = 2.180\n"
            "txtInfos(1)\t#00FF00\t\\r\\nDISPONIBLE\n";
        for (const char *code : {"3582910", "3400935829108"})
            QTest::newRow(code) << QStringList{"DIR", "1", code} << QByteArray() << doliprane << 0
                                << QByteArray();
        QTest::newRow("account 2 with a bad URL")
            << QStringList{"DIR", "2", "3582910"} << QByteArray()
            << "LabRetour(2)\t#FF0000\tMerci de vérifier l'adresse URL du répartiteur !\n"
               "txtInfos(2)\t#FF0000\t\\r\\nREQUETE EN ERREUR\n"
            << 0 << QByteArray();
        const QString vides = QStringLiteral("\t\t\t\t\t\t\t");
        const QString url = "\tERREUR\t\t\t\tMerci de vérifier l'adresse URL du répartiteur !" + vides + "\n";
        QTest::newRow("a list from standard input, in its own order")
            << QStringList{"--liste", "DIR"}
            << QByteArray("3582910\n3153342;2\nDoliprane\n1234567\n3582910\n")
            << "3582910\t1\tDISPONIBLE\t\tDOLIPRANE 1000MG CPR B/8\tPHAHT=1.570;NETHT=1.490;PUBTC=2.180\t" +
                   vides + "\n3582910\t2" + url +
                   "3153342\t1\tNON DISPONIBLE\t5\tSPASFON LYOC 80MG B/10\tPUBTC=3.950\tManque rayon" +
                   vides + "\n3153342\t2" + url + "1234567\t1\tNON DISPONIBLE\t1\t\t\tProduit inconnu" +
                   vides + "\n1234567\t2" + url
            << 1 << QByteArray("solvarin-query: no product code in \"Doliprane\"\n");
        // A pasted table's header names its columns: no error for it, the price is no quantity.
        QTest::newRow("a table with a header from standard input, and its workbook")
            << QStringList{"--liste", "DIR", "--xlsx", "DIR/liste.xlsx"}
            << QByteArray("Code\tDésignation\tPrix HT\tQté\n1234567\tX\t2\t3\n")
            << "1234567\t1\tNON DISPONIBLE\t1\t\t\tProduit inconnu" + vides + "\n1234567\t2" + url << 1
            << QByteArray();
        // When and instead: the expected date (and time), quantity, replacement and comment fields.
        const QString dans1 = QDate::currentDate().addDays(1).toString(Qt::ISODate);
        const QString dans5 = QDate::currentDate().addDays(5).toString(Qt::ISODate);
        QTest::newRow("when and instead, listed")
            << QStringList{"--liste", "DIR", "3641820", "3589142", "3010284"} << QByteArray()
            << "3641820\t1\tNON DISPONIBLE\t4\tIMODIUM 2MG GELULE B/20\tPHAHT=2.840;PUBTC=4.150\tRupture "
               "fabricant\t" +
                   dans5 + "\t\t\t\t\t\t\n3641820\t2" + url +
                   "3589142\t1\tAUTRE\t\tFERVEX ADULTE SANS SUCRE SACH B/8\tPHAHT=3.460;NETHT=3.280\t"
                   "DCOL nationale, livraison demain matin\t" +
                   dans1 +
                   "T14:30\t2\t\t\t\t\t"
                   "DCOL nationale, livraison demain matin\n3589142\t2" +
                   url +
                   "3010284\t1\tNON DISPONIBLE\t1112\tDOLIPRANE 1000MG CPR B/8 ANCIEN CDT\t\tProduit "
                   "remplace\t\t\t"
                   "3400935829108\tDOLIPRANE 1000MG CPR B/8\tRL\tNETHT=1.490;PHAHT=1.570\t\n3010284\t2" +
                   url
            << 1 << QByteArray();
        QTest::newRow("when and instead, at the counter")
            << QStringList{"DIR", "1", "3010284"} << QByteArray()
            << "LabRetour(0)\t#000000\tDOLIPRANE 1000MG CPR B/8 ANCIEN CDT\n"
               "LabRetour(1)\t#000000\tRemplacé par : 3400935829108 DOLIPRANE 1000MG CPR B/8 (remplaçant "
               "livré)"
               "\\r\\nPrix achat HT = 1.490\\r\\nPrix d'achat HT hors remise = 1.570\n"
               "txtInfos(1)\t#FF0000\t\\r\\nNON DISPONIBLE \\r\\n(Produit remplace)\n"
            << 0 << QByteArray();
        QTest::newRow("watch: a code refused, the valid one still added")
            << QStringList{"--surveillance-ajoute", "DIR", "3582910", "358291"} << QByteArray() << QString()
            << 2
            << QByteArray("solvarin-query: \"358291\" is no product code "
                          "(7 digits, or a CIP13 with its check digit)\n");
        QTest::newRow("watch: a round now, each account's first check")
            << QStringList{"--surveillance", "DIR", "--maintenant"} << QByteArray()
            << "3582910\t1\t\tDISPONIBLE\tDOLIPRANE 1000MG CPR B/8\n"
               "3582910\t2\t\tERREUR\tDOLIPRANE 1000MG CPR B/8\n"
            << 0 << QByteArray();
        QTest::newRow("watch: nothing changed") << QStringList{"--surveillance", "DIR", "--maintenant"}
                                                << QByteArray() << QString() << 0 << QByteArray();
        QTest::newRow("watch: removed, nothing asked")
            << QStringList{"--surveillance-retire", "DIR", "3582910"} << QByteArray() << QString() << 0
            << QByteArray();
    }

    void requeteContreLeSimulateur()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, entree);
        arguments.replaceInStrings(QStringLiteral("DIR"), m_dir.path());
        QProcess requete;
        requete.start(bin + "solvarin-query", arguments);
        requete.write(entree);
        requete.closeWriteChannel();
        QVERIFY(requete.waitForFinished(10000));
        QCOMPARE(requete.exitStatus(), QProcess::NormalExit);
        QTEST(requete.exitCode(), "statut");
        QTEST(QString::fromUtf8(requete.readAllStandardOutput()), "sortie");
        QTEST(requete.readAllStandardError(), "erreurs");
        if (arguments.contains(QStringLiteral("--xlsx"))) {
            QFile classeur(arguments.last());
            QVERIFY(classeur.open(QIODevice::ReadOnly));
            QCOMPARE(classeur.read(2), "PK");
        }
    }

    void historique_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "DIR": the folder the queries above ran in
        QTest::addColumn<QStringList>("lignes");    // sorted, each date written DATE
        QTest::addColumn<int>("statut");
        const QString url = "\tERREUR\t\t\t\tMerci de vérifier l'adresse URL du répartiteur !\t\t";
        QTest::newRow("every query above recorded, one code")
            << QStringList{"--historique", "DIR", "3153342"}
            << QStringList{"DATE\tconsole\t1\t3153342\tNON DISPONIBLE\t5\tSPASFON LYOC 80MG "
                           "B/10\tPUBTC=3.950\t"
                           "Manque rayon\t\t",
                           "DATE\tconsole\t2\t3153342" + url}
            << 0;
        QTest::newRow("the one-product queries too")
            << QStringList{"--historique", "DIR", "3400935829108"}
            << QStringList{"DATE\tconsole\t1\t3400935829108\tDISPONIBLE\t\tDOLIPRANE 1000MG CPR B/8\t"
                           "PHAHT=1.570;NETHT=1.490;PUBTC=2.180\t\t\t"}
            << 0;
        // Account 2 failed every time: one wholesaler's word is no shortage while two are configured.
        QTest::newRow("no shortage from one wholesaler")
            << QStringList{"--ruptures", "DIR", "--heures", "0"} << QStringList{} << 0;
        QTest::newRow("nothing recorded yet") << QStringList{"--historique", "VIDE"} << QStringList{} << 0;
        QTest::newRow("an unusable database address")
            << QStringList{"--ruptures", "MAUVAISE"} << QStringList{} << 1;
        QTest::newRow("hours that are no number")
            << QStringList{"--ruptures", "DIR", "--heures", "x"} << QStringList{} << 2;
    }

    void historique()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir autre;
        QVERIFY(QDir(autre.path()).mkdir("vide") && QDir(autre.path()).mkdir("mauvaise"));
        FichierINI::setRepertoireProgramme(autre.filePath("mauvaise"));
        QVERIFY(FichierINI::EcrireIni("Historique", "Base", "mysql://officine") != 0);
        arguments.replaceInStrings("DIR", m_dir.path())
            .replaceInStrings("VIDE", autre.filePath("vide"))
            .replaceInStrings("MAUVAISE", autre.filePath("mauvaise"));
        QProcess commande;
        commande.start(bin + "solvarin-query", arguments);
        QVERIFY(commande.waitForFinished(10000));
        QTEST(commande.exitCode(), "statut");
        QStringList lues =
            QString::fromUtf8(commande.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        lues.replaceInStrings(QRegularExpression("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d"), "DATE");
        lues.sort();
        QTEST(lues, "lignes");
        // Reading makes no database.
        QVERIFY(!QFile::exists(autre.filePath("vide/Solvarin.db")));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("account 3") << QStringList{".", "3", "3582910"};
        QTest::newRow("no such folder") << QStringList{"/nonexistent/folder", "1", "3582910"};
        QTest::newRow("a workbook without a name") << QStringList{"--liste", ".", "--xlsx"};
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QProcess requete;
        requete.start(bin + "solvarin-query", arguments);
        QVERIFY(requete.waitForFinished(10000));
        QCOMPARE(requete.exitCode(), 2);
        QVERIFY(requete.readAllStandardError().startsWith("usage: solvarin-query "));
        QVERIFY(requete.readAllStandardOutput().isEmpty());
    }

    void sortieSurUneLigne()
    {
        QCOMPARE(echappeSortie(QStringLiteral("\\\r\n\t\u0001\u001f\u007f\u0085\u009f\u2028\u2029é ")),
                 QStringLiteral("\\\\\\r\\n\\t\\u0001\\u001F\\u007F\\u0085\\u009F\\u2028\\u2029é "));
        // Beside those four, every control character of Unicode and its line and paragraph separators, and
        // nothing else.
        for (uint u = 0; u <= 0xFFFF; ++u) {
            const QChar c{char16_t(u)};
            if (u == u'\\' || u == u'\r' || u == u'\n' || u == u'\t')
                continue;
            const bool coupe = c.category() == QChar::Other_Control ||
                               c.category() == QChar::Separator_Line ||
                               c.category() == QChar::Separator_Paragraph;
            QCOMPARE(echappeSortie(c),
                     coupe ? "\\u" + QString::number(u, 16).toUpper().rightJustified(4, u'0') : QString(c));
        }
    }

private:
    QProcess m_sim;
    QTemporaryDir m_dir;
    QString m_port;
};

QTEST_GUILESS_MAIN(TestProgrammes)
#include "tst_programmes.moc"
