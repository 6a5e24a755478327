#include "classeurliste.h"
#include "tableauliste.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

QByteArray partie(const QString &classeur, const QString &nom)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), classeur, nom});
    unzip.waitForFinished();
    return unzip.readAllStandardOutput();
}

// A small workbook reader: each cell of the first sheet, "A2" -> "s:text" (a string) or "n:value" (a
// number), followed by " fmt=CODE" and " fill=AARRGGBB" when its style has them; "pane" and "filter" give
// the frozen rows and the filtered area.
QHash<QString, QString> lisClasseur(const QString &chemin)
{
    QStringList chaines, fonds;
    QHash<QString, QString> formats;
    QList<QPair<QString, int>> styles; // number format id, fill
    QXmlStreamReader partages(partie(chemin, QStringLiteral("xl/sharedStrings.xml")));
    while (partages.readNextStartElement() || !partages.atEnd()) {
        if (partages.isStartElement() && partages.name() == u"t")
            chaines << partages.readElementText();
        else if (!partages.isStartElement())
            partages.readNext();
    }
    QXmlStreamReader style(partie(chemin, QStringLiteral("xl/styles.xml")));
    bool xfs = false;
    while (!style.atEnd()) {
        style.readNext();
        const auto a = style.attributes();
        if (style.isStartElement() && style.name() == u"numFmt")
            formats.insert(a.value("numFmtId").toString(), a.value("formatCode").toString());
        else if (style.isStartElement() && style.name() == u"fill")
            fonds << QString();
        else if (style.isStartElement() && style.name() == u"fgColor")
            fonds.last() = a.value("rgb").toString();
        else if (style.name() == u"cellXfs")
            xfs = style.isStartElement();
        else if (xfs && style.isStartElement() && style.name() == u"xf")
            styles.append({a.value("numFmtId").toString(), a.value("fillId").toInt()});
    }
    QHash<QString, QString> cellules;
    QXmlStreamReader feuille(partie(chemin, QStringLiteral("xl/worksheets/sheet1.xml")));
    while (!feuille.atEnd()) {
        feuille.readNext();
        const auto a = feuille.attributes();
        if (feuille.isStartElement() && feuille.name() == u"pane")
            cellules.insert("pane", a.value("ySplit").toString() + u' ' + a.value("state").toString());
        if (feuille.isStartElement() && feuille.name() == u"autoFilter")
            cellules.insert("filter", a.value("ref").toString());
        if (!feuille.isStartElement() || feuille.name() != u"c")
            continue;
        const QString ref = a.value("r").toString();
        const bool chaine = a.value("t") == u"s";
        const auto [format, fond] = styles.value(a.value("s").toInt());
        feuille.readNextStartElement();
        const QString v = feuille.readElementText();
        QString cellule = chaine ? "s:" + chaines.value(v.toInt()) : "n:" + v;
        if (formats.contains(format))
            cellule += " fmt=" + formats.value(format);
        if (!fonds.value(fond).isEmpty())
            cellule += " fill=" + fonds.value(fond);
        cellules.insert(ref, cellule);
    }
    return cellules;
}

PrixLigne prix(const char *nature, const char *valeur)
{
    return {QString::fromLatin1(nature), QString::fromLatin1(valeur)};
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
        ReponseCode dispo{ReponseCode::Etat::Repondue, {}};
        dispo.ligne.designation = QStringLiteral("DOLIPRANE 1000MG CPR B/8");
        dispo.ligne.disponibilite = Disponibilite::Disponible;
        dispo.ligne.prix = {prix("PHAHT", "0001.570"), prix("PUBTC", "0002.185")};
        ReponseCode manque{ReponseCode::Etat::Repondue, {}};
        manque.ligne.disponibilite = Disponibilite::NonDisponible;
        manque.ligne.codeReponse = QStringLiteral("0005");
        manque.ligne.prix = {prix("PUBTC", "3.95")};
        compte.parCode.insert(QStringLiteral("3400935829108"), dispo);
        compte.parCode.insert(QStringLiteral("3153342"), manque);
        compte.parCode.insert(QStringLiteral("3582910"), {ReponseCode::Etat::Annulee, {}});
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
                               "Ligne refusée\r\n"
                               "3400935829108;2;DOLIPRANE 1000MG CPR B/8;Disponible;1,57;2,185;;\r\n"
                               "3153342;1;;Non disponible;;3,95;Manque rayon;\r\n"
                               "3582910;1;;Annulé;;;;\r\n"
                               ";;;;;;;'=SOMME(A1) x\r\n")
                    .toUtf8());
    }

    void classeur_data()
    {
        QTest::addColumn<QString>("cellule");
        QTest::addColumn<QString>("attendu");
        const QString euros2 = " fmt=#,##0.00 \"€\"", euros3 = " fmt=#,##0.000 \"€\"";
        QTest::newRow("header") << "G1"
                                << "s:PHOENIX motif";
        QTest::newRow("a CIP13 is text, all 13 digits") << "A2"
                                                        << "s:3400935829108 fmt=@";
        QTest::newRow("a quantity is a number") << "B2"
                                                << "n:2";
        QTest::newRow("available, green") << "D2"
                                          << "s:Disponible fmt=@ fill=FF7CD96C";
        QTest::newRow("a price of two decimals") << "E2"
                                                 << "n:1.57" + euros2;
        QTest::newRow("a price of three decimals") << "F2"
                                                   << "n:2.185" + euros3;
        QTest::newRow("not available, red") << "D3"
                                            << "s:Non disponible fmt=@ fill=FFF06E64";
        QTest::newRow("the reason") << "G3"
                                    << "s:Manque rayon fmt=@";
        QTest::newRow("no answer, grey") << "D4"
                                         << "s:Annulé fmt=@ fill=FFC8C8C8";
        QTest::newRow("a refused line in its own column, as text") << "H5"
                                                                   << "s:=SOMME(A1) x fmt=@";
        QTest::newRow("nothing in its code cell") << "A5"
                                                  << "";
        QTest::newRow("the header row frozen") << "pane"
                                               << "1 frozen";
        QTest::newRow("filters on the whole table") << "filter"
                                                    << "A1:H5";
    }

    void classeur()
    {
        QFETCH(QString, cellule);
        QFETCH(QString, attendu);
        if (m_classeur.isEmpty())
            QSKIP("unzip is needed to read the workbook back (tools/install-deps.sh installs it)");
        QCOMPARE(m_classeur.value(cellule), attendu);
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
