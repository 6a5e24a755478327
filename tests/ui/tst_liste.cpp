#include "frmliste.h"
#include "simulateur.h"

#include "ui/fenetreessai.h"

#include <QApplication>
#include <QClipboard>
#include <QProgressBar>
#include <QTableView>

using namespace FenetreEssai;

namespace {

// The cells of a row, "|" between them; a state cell is followed by its colour's name.
QString rangee(QAbstractItemModel *modele, const QString &code)
{
    for (int r = 0; r < modele->rowCount(); ++r) {
        if (modele->index(r, 0).data().toString() != code)
            continue;
        QStringList cellules;
        for (int c = 0; c < modele->columnCount(); ++c) {
            QString texte = modele->index(r, c).data().toString();
            const QVariant fond = modele->index(r, c).data(Qt::BackgroundRole);
            if (fond.isValid()) {
                const QColor couleur = fond.value<QColor>();
                texte += couleur.hsvSaturation() < 30 ? " gris"
                         : couleur.hue() < 20         ? " rouge"
                         : couleur.hue() < 60         ? " orange"
                                                      : " vert";
            }
            cellules << texte;
        }
        return cellules.join(u'|');
    }
    return QStringLiteral("(absent)");
}

} // namespace

class TestListe : public QObject, public Banc {
    Q_OBJECT
private slots:
    void init() { prepare(); }
    void cleanup() { libere(); }
    void deuxRepartiteurs_data();
    void deuxRepartiteurs();
};

void TestListe::deuxRepartiteurs_data()
{
    QTest::addColumn<bool>("refus");          // the second wholesaler refuses the key
    QTest::addColumn<bool>("echap");          // Escape right after Ctrl+Enter
    QTest::addColumn<QList<int>>("requetes"); // requests each wholesaler receives
    QTest::addColumn<QString>("infobulle");   // of the second wholesaler's column title
    QTest::addColumn<QStringList>("rangees");
    QTest::addColumn<QString>("csv"); // the first product's line

    const QString doliprane = "3582910|2|DOLIPRANE 1000MG CPR B/8|Disponible vert|1,57 € / 1,49 € / 2,18 €||";
    const QString doliprane2 = "Disponible vert|1,884 € / 1,788 € / 2,616 €||PHOENIX";
    const QString csvDoliprane = "3582910;2;DOLIPRANE 1000MG CPR B/8;Disponible;1,57;1,49;2,18;;";
    QTest::newRow("both answer, 119 codes in three requests each")
        << false << false << QList<int>{3, 3} << QString()
        << QStringList{doliprane + doliprane2,
                       "3153342|1|SPASFON LYOC 80MG B/10|Non disponible rouge|3,95 €|Manque rayon|"
                       "Non disponible rouge|4,74 €|Manque rayon|",
                       "3622757|1|AMOXICILLINE 1G CPR DISP B/14|Non disponible rouge|2,05 € / 1,98 € / 3,24 "
                       "€|"
                       "Contingentement : 2 boites par jour|Non disponible rouge|2,46 € / 2,376 € / 3,888 €|"
                       "Contingentement : 2 boites par jour|",
                       "3267408|1|EXOMUC 200MG GRANULE SACH B/24|Autre réponse orange|2,69 €|"
                       "Livraison directe par le laboratoire|Autre réponse orange|3,228 €|"
                       "Livraison directe par le laboratoire|",
                       "3000110|1||Non disponible rouge||Produit inconnu|Non disponible rouge||Produit "
                       "inconnu|",
                       "Commande du 7||Pas de code CIP valide sur cette ligne : non envoyée|||||||"}
        << csvDoliprane + "Disponible;1,884;1,788;2,616;;PHOENIX\r";
    QTest::newRow("the second refuses the key")
        << true << false << QList<int>{3, 1} << "Retour HTTP incorrect ! (vérifier la clef secrète)"
        << QStringList{doliprane + "Erreur gris|||",
                       "3000110|1||Non disponible rouge||Produit inconnu|Erreur gris|||"}
        << csvDoliprane + "Erreur;Retour HTTP incorrect ! (vérifier la clef secrète);\r";
    QTest::newRow("Escape stops what is not sent")
        << false << true << QList<int>{1, 1} << QString()
        << QStringList{doliprane + doliprane2, "3000110|1||Annulé gris|||Annulé gris|||"}
        << csvDoliprane + "Disponible;1,884;1,788;2,616;;PHOENIX\r";
}

void TestListe::deuxRepartiteurs()
{
    QFETCH(bool, refus);
    QFETCH(bool, echap);
    QFETCH(QList<int>, requetes);
    QFETCH(QString, infobulle);
    QFETCH(QStringList, rangees);
    QFETCH(QString, csv);

    SimulateurPharmaML sim[2];
    QStringList journal[2];
    for (int k = 0; k < 2; ++k) {
        sim[k].options().delaiMs = echap ? 100 : 0;
        QVERIFY(sim[k].ecoute());
        compteLocal(k + 1, sim[k].port());
        connect(&sim[k], &SimulateurPharmaML::journal, this,
                [&journal, k](const QString &l) { journal[k] << l; });
    }
    sim[1].options().pourcentPrix = 120;
    if (refus)
        sim[1].options().reponse = OptionsSimulateur::Reponse::Refus401;
    for (auto &s : sim)
        s.options().lignesMax = 50;
    pharmacie();

    // The catalogue, a line without a code, a code twice, unknown codes up to 120 lines.
    QStringList texte{"3582910\t1", "Commande du 7", "3153342", "3622757", "3267408", "3582910;1"};
    for (int i = 1; texte.size() < 121; ++i)
        texte << QString::number(3000000 + i);
    QGuiApplication::clipboard()->setText(texte.join(u'\n'));

    m_window = ouvre();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    auto *liste = m_window->findChild<FrmListe *>();
    QVERIFY(liste);
    QTRY_COMPARE(QApplication::activeWindow(), liste);
    QCOMPARE(liste->windowTitle(), QStringLiteral("Solvarin — Vérifier une liste"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("code"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    if (echap)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    auto *progression = liste->findChild<QProgressBar *>("progression");
    QTRY_VERIFY(progression->maximum() == 238 && progression->value() == 238);

    auto *table = liste->findChild<QTableView *>("table");
    QCOMPARE(table->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("CERP ROUEN"));
    QCOMPARE(table->model()->headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(), infobulle);
    for (const QString &attendue : rangees)
        QCOMPARE(rangee(table->model(), attendue.section(u'|', 0, 0)), attendue);
    QTest::qWait(150);
    QCOMPARE((QList<int>{int(journal[0].size()), int(journal[1].size())}), requetes);

    const QString chemin = m_dir->filePath("liste.csv");
    QVERIFY(liste->exporte(chemin));
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::ReadOnly));
    const QList<QByteArray> lignesCsv = fichier.readAll().split('\n');
    QVERIFY(lignesCsv[0].startsWith("\xEF\xBB\xBF"
                                    "Code;Quantité;Désignation;PHOENIX;PHOENIX PHAHT;"));
    QCOMPARE(QString::fromUtf8(lignesCsv[1]), csv);

    // The list and the window's place come back with the program.
    liste->resize(700, 400);
    liste->close();
    m_window.reset();
    m_window = ouvre();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    liste = m_window->findChild<FrmListe *>();
    QVERIFY(liste);
    QCOMPARE(liste->size(), QSize(700, 400));
    table = liste->findChild<QTableView *>("table");
    QCOMPARE(table->model()->rowCount(), 119);
    QCOMPARE(rangee(table->model(), "3582910").section(u'|', 0, 1), QStringLiteral("3582910|2"));
}

QTEST_MAIN(TestListe)
#include "tst_liste.moc"
