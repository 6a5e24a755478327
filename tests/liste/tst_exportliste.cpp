#include "classeurliste.h"
#include "tableauliste.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray partie(const QString &classeur, const char *nom)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), classeur, QString::fromLatin1(nom)});
    unzip.waitForFinished();
    return unzip.readAllStandardOutput();
}

// The matches of a pattern in a part of the workbook.
QList<QRegularExpressionMatch> trouve(const QByteArray &xml, const QString &motif)
{
    QList<QRegularExpressionMatch> trouvees;
    for (auto it = QRegularExpression(motif).globalMatch(QString::fromUtf8(xml)); it.hasNext();)
        trouvees << it.next();
    return trouvees;
}

// A small workbook reader: each cell of the first sheet, "A2" -> "s:text" (a string) or "n:value" (a
// number), followed by " fmt=CODE" and " fill=AARRGGBB" when its style has them; "pane" and "filter" give
// the frozen rows and the filtered area. The parts are read as libxlsxwriter writes them.
QHash<QString, QString> lisClasseur(const QString &chemin)
{
    QStringList chaines, fonds;
    for (const auto &m : trouve(partie(chemin, "xl/sharedStrings.xml"), "<t[^>]*>([^<]*)</t>"))
        chaines << m.captured(1);
    const QByteArray styles = partie(chemin, "xl/styles.xml");
    QHash<QString, QString> formats;
    for (const auto &m : trouve(styles, "<numFmt numFmtId=\"(\\d+)\" formatCode=\"([^\"]*)\""))
        formats.insert(m.captured(1), m.captured(2).replace("&quot;", "\""));
    for (const auto &m : trouve(styles, "<fill>.*?(?:rgb=\"(\\w+)\".*?)?</fill>"))
        fonds << m.captured(1);
    const auto xfs =
        trouve(styles, "<xf numFmtId=\"(\\d+)\" fontId=\"\\d+\" fillId=\"(\\d+)\" borderId=\"\\d+\" xfId");
    const QByteArray feuille = partie(chemin, "xl/worksheets/sheet1.xml");
    QHash<QString, QString> cellules;
    for (const auto &m :
         trouve(feuille, "<c r=\"(\\w+)\"(?: s=\"(\\d+)\")?(?: t=\"(\\w)\")?><v>([^<]*)</v>")) {
        const auto xf = xfs.value(m.captured(2).toInt());
        QString cellule =
            m.captured(3) == "s" ? "s:" + chaines.value(m.captured(4).toInt()) : "n:" + m.captured(4);
        if (formats.contains(xf.captured(1)))
            cellule += " fmt=" + formats.value(xf.captured(1));
        if (!fonds.value(xf.captured(2).toInt()).isEmpty())
            cellule += " fill=" + fonds.value(xf.captured(2).toInt());
        cellules.insert(m.captured(1), cellule);
    }
    for (const auto &m : trouve(feuille, "<pane ySplit=\"(\\d+)\".*?state=\"(\\w+)\""))
        cellules.insert("pane", m.captured(1) + u' ' + m.captured(2));
    for (const auto &m : trouve(feuille, "<autoFilter ref=\"([^\"]+)\""))
        cellules.insert("filter", m.captured(1));
    return cellules;
}

} // namespace

// The exports of a list answered by one account: the CSV and the workbook, written from the same table.
class TestExportListe : public QObject {
    Q_OBJECT
    QList<LigneListe> m_lignes;
    QList<ReponsesCompte> m_comptes;
    QHash<QString, QString> m_classeur; // the workbook written, read back

private slots:
    void initTestCase()
    {
        m_lignes = LectureListe::lis(u"3400935829108;2\n3153342\n3582910\n=SOMME(A1)\tx");
        ReponsesCompte compte{1, QStringLiteral("PHOENIX"), {}, false, {}};
        ReponseCode dispo{ReponseCode::Etat::Repondue, {}, {}, {}};
        dispo.ligne.designation = QStringLiteral("DOLIPRANE 1000MG CPR B/8");
        dispo.ligne.disponibilite = Disponibilite::Disponible;
        dispo.ligne.prix = {{"PHAHT", "0001.570"}, {"PUBTC", "0002.185"}};
        ReponseCode manque{ReponseCode::Etat::Repondue, {}, {}, {}};
        manque.ligne.disponibilite = Disponibilite::NonDisponible;
        manque.ligne.codeReponse = QStringLiteral("0005");
        manque.ligne.prix = {{"PUBTC", "3.95"}};
        compte.parCode.insert(QStringLiteral("3400935829108"), dispo);
        compte.parCode.insert(QStringLiteral("3153342"), manque);
        compte.parCode.insert(QStringLiteral("3582910"), {ReponseCode::Etat::Annulee, {}, {}, {}});
        m_comptes = {compte};

        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            return;
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("liste.xlsx"));
        QCOMPARE(ClasseurListe::ecrit(chemin, m_lignes, m_comptes), QString());
        m_classeur = lisClasseur(chemin);
    }

    void csv()
    {
        QCOMPARE(
            TableauListe::csv(m_lignes, m_comptes),
            "\xEF\xBB\xBF" +
                QStringLiteral("Code;Quantité;Désignation;PHOENIX;PHOENIX PHAHT;PHOENIX PUBTC;PHOENIX motif;"
                               "PHOENIX retour prévu;PHOENIX remplaçant;Ligne refusée\r\n"
                               "3400935829108;2;DOLIPRANE 1000MG CPR B/8;Disponible;1,57;2,185;;;;\r\n"
                               "3153342;1;;Non disponible;;3,95;Manque rayon;;;\r\n"
                               "3582910;1;;Annulé;;;;;;\r\n"
                               ";;;;;;;;;'=SOMME(A1) x\r\n")
                    .toUtf8());
    }

    void classeur_data()
    {
        QTest::addColumn<QString>("cellule");
        QTest::addColumn<QString>("attendu");
        const QString euros2 = " fmt=#,##0.00 \"€\"", euros3 = " fmt=#,##0.000 \"€\"";
        const std::tuple<const char *, const char *, QString> rangees[] = {
            {"the per-account columns, each its title", "I1", "s:PHOENIX remplaçant"},
            {"a CIP13 is text, all 13 digits", "A2", "s:3400935829108 fmt=@"},
            {"a quantity is a number", "B2", "n:2"},
            {"available, green", "D2", "s:Disponible fmt=@ fill=FF7CD96C"},
            {"a price of two decimals", "E2", "n:1.57" + euros2},
            {"a price of three decimals", "F2", "n:2.185" + euros3},
            {"not available, red", "D3", "s:Non disponible fmt=@ fill=FFF06E64"},
            {"the reason", "G3", "s:Manque rayon fmt=@"},
            {"no answer, grey", "D4", "s:Annulé fmt=@ fill=FFC8C8C8"},
            {"a refused line in its own column, as text", "J5", "s:=SOMME(A1) x fmt=@"},
            {"nothing in its code cell", "A5", ""},
            {"the header row frozen", "pane", "1 frozen"},
            {"filters on the whole table", "filter", "A1:J5"}};
        for (const auto &[nom, cellule, attendu] : rangees)
            QTest::newRow(nom) << QString(cellule) << attendu;
    }

    void classeur()
    {
        QFETCH(QString, cellule);
        QFETCH(QString, attendu);
        if (m_classeur.isEmpty())
            QSKIP("unzip is needed to read the workbook back (tools/install-deps.sh installs it)");
        QCOMPARE(m_classeur.value(cellule), attendu);
    }

    // The list's and the history's CSV: a cell that starts as a formula would is written as text; a field
    // holding a separator, a double quote or a line break is quoted.
    void formules_data()
    {
        QTest::addColumn<QString>("cellule");
        QTest::addColumn<QString>("ecrite");
        for (const char *formule : {"=1+1", "+1", "-1", "@A1"})
            QTest::newRow(formule) << formule << u'\'' + QString::fromLatin1(formule);
        for (const char *texte : {"1-1", " =1", "#1", "'1"})
            QTest::newRow(texte) << texte << texte;
        QTest::newRow("with a separator") << "=1;2"
                                          << "\"'=1;2\"";
        QTest::newRow("a double quote") << "a\"b"
                                        << "\"a\"\"b\"";
        QTest::newRow("a line feed") << "a\nb"
                                     << "\"a\nb\"";
        QTest::newRow("a lone carriage return") << "a\rb"
                                                << "\"a\rb\"";
    }

    void formules()
    {
        QFETCH(QString, cellule);
        QFETCH(QString, ecrite);
        QCOMPARE(TableauListe::csvDeRangees({{cellule, QStringLiteral("x")}}),
                 "\xEF\xBB\xBF" + (ecrite + ";x\r\n").toUtf8());
    }

    void classeurImpossible()
    {
        QTemporaryDir dossier;
        QVERIFY(
            !ClasseurListe::ecrit(dossier.filePath(QStringLiteral("absent/liste.xlsx")), m_lignes, m_comptes)
                 .isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExportListe)
#include "tst_exportliste.moc"
