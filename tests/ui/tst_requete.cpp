#include "frmliste.h"
#include "simulateur.h"
#include "tovabutton.h"
#include "webinfos.h"

#include "ui/fenetreessai.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTextEdit>

using namespace FenetreEssai;
using namespace std::chrono_literals;

namespace {

const QString doliprane = QStringLiteral("3582910"); // available, three prices
const QColor vert(0, 255, 0), rouge(255, 0, 0), jaune(255, 255, 0), noir(0, 0, 0);

QColor fond(QTextEdit *boite)
{
    return boite->palette().color(QPalette::Base);
}
QColor encre(QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// The cells of a list row, "|" between them; a state cell is followed by its colour's name.
QString rangee(QAbstractItemModel *modele, const QString &code)
{
    for (int r = 0; r < modele->rowCount(); ++r) {
        if (modele->index(r, 0).data().toString() != code)
            continue;
        QStringList cellules;
        for (int c = 0; c < modele->columnCount(); ++c) {
            QString texte = modele->index(r, c).data().toString();
            if (const QVariant f = modele->index(r, c).data(Qt::BackgroundRole); f.isValid()) {
                const QColor couleur = f.value<QColor>();
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

// The main window and the list window asking the wholesaler simulator on 127.0.0.1.
class TestRequete : public QObject, public Banc {
    Q_OBJECT
    SimulateurPharmaML m_sim;
    QStringList m_journal;

    // Types the code in the CIP field and presses the query command of that account.
    void interroge(int compte, const QString &code)
    {
        txt(2)->setFocus();
        txt(2)->selectAll();
        QTest::keyClicks(txt(2), code);
        QTest::mouseClick(c<TOVAButton>(QStringLiteral("cmdDispo%1").arg(compte - 1)), Qt::LeftButton);
    }
    int requetesRecues() const { return int(m_journal.filter(QStringLiteral("POST")).size()); }
    // The pharmacy and account 1 on the simulator (account 2 too if asked), the window open, its page read.
    void ouvreSurLeSimulateur(bool deuxComptes = false)
    {
        pharmacie();
        compteLocal(1, m_sim.port());
        if (deuxComptes)
            compteLocal(2, m_sim.port(), QStringLiteral("123456"), QStringLiteral("CLEF9876"));
        ouvre(20s);
        QTRY_VERIFY(c<WebInfos>("WebInfos")->documentCharge());
        QTest::qWait(50);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sim.ecoute());
        connect(&m_sim, &SimulateurPharmaML::journal, this, [this](const QString &l) { m_journal << l; });
    }
    void init()
    {
        prepare();
        m_sim.options() = OptionsSimulateur();
        m_journal.clear();
    }
    void cleanup() { libere(); }

    void reponses_data()
    {
        QTest::addColumn<int>("reponse");
        QTest::addColumn<QString>("designation");
        QTest::addColumn<QString>("resultat");
        QTest::addColumn<QString>("dispo");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("codification");
        const int produits = int(OptionsSimulateur::Reponse::Produits);
        const QString doliprane3 = QStringLiteral("Prix d'achat HT hors remise = 1.570\r\n"
                                                  "Prix achat HT = 1.490\r\nPrix public TTC = 2.180");
        QTest::newRow("available") << produits << "DOLIPRANE 1000MG CPR B/8" << doliprane3 << "\nDISPONIBLE"
                                   << doliprane << "CIP39";
        QTest::newRow("scanned CIP13")
            << produits << "DOLIPRANE 1000MG CPR B/8" << doliprane3 << "\nDISPONIBLE"
            << "3400935829108"
            << "EAN13";
        QTest::newRow("not available")
            << produits << "SMECTA 3G PDRE SACH B/30"
            << "Prix d'achat HT hors remise = 4.310\r\nPrix catalogue HT = 4.480\r\nPrix public TTC = 6.990"
            << "\nNON DISPONIBLE \n(Rupture fabricant)"
            << "3400892"
            << "CIP39";
        QTest::newRow("credential refused") << int(OptionsSimulateur::Reponse::Refus401) << ""
                                            << "Retour HTTP incorrect ! (vérifier la clef secrète)"
                                            << "\nREQUETE EN ERREUR" << doliprane << "CIP39";
    }
    void reponses()
    {
        QFETCH(int, reponse);
        QFETCH(QString, designation);
        QFETCH(QString, resultat);
        QFETCH(QString, dispo);
        QFETCH(QString, code);
        QFETCH(QString, codification);
        m_sim.options().reponse = OptionsSimulateur::Reponse(reponse);
        ouvreSurLeSimulateur();
        interroge(1, code);

        QCOMPARE(c<QLabel>("LabRetour0")->text() + u'|' + c<QLabel>("LabRetour1")->text(),
                 designation + u'|' + resultat);
        QCOMPARE(encre(c<QLabel>("LabRetour1")), designation.isEmpty() ? rouge : noir);
        QCOMPARE(visibles({"LabRetour1", "txtInfos1", "txtInfos2", "WebInfos"}),
                 QStringLiteral("LabRetour1 txtInfos1"));
        auto *boite = c<QTextEdit>("txtInfos1");
        QCOMPARE(boite->toPlainText(), dispo);
        QCOMPARE(fond(boite), dispo == QLatin1String("\nDISPONIBLE") ? vert : rouge);
        QVERIFY(!boite->verticalScrollBar()->isVisible());
        // One product, quantity 1.
        QCOMPARE(requetesRecues(), 1);
        const QString ligne = QStringLiteral("Type_Codification=\"%1\" Code_Produit=\"%2\" Quantite=\"1\"");
        QVERIFY(m_sim.dernierRecu().contains(ligne.arg(codification, code).toUtf8()));
        // Focus back in the CIP field, which keeps the code selected: the next one typed replaces it.
        QVERIFY(txt(2)->hasFocus());
        QCOMPARE(txt(2)->selectedText(), code);
    }

    void deuxComptesALaSuite()
    {
        ouvreSurLeSimulateur(true);
        interroge(1, doliprane);
        m_sim.options().delaiMs = 300;
        auto *web = c<WebInfos>("WebInfos");
        auto *boite = c<QTextEdit>("txtInfos2");
        // What the screen shows: the commands that answer, the box, its colour, the labels.
        const auto ecran = [&] {
            QString vu;
            for (const char *nom : {"cmdDispo0", "cmdDispo1", "cmdParam"})
                vu += c<TOVAButton>(nom)->isEnabled() ? u'1' : u'0';
            return vu + u'|' + boite->toPlainText() + u'|' + fond(boite).name() + u'|' +
                   c<QLabel>("LabRetour0")->text() + c<QLabel>("LabRetour2")->text();
        };
        QString pendant;
        QTimer::singleShot(100, this, [&] {
            pendant = ecran();
            // No shortcut starts a second exchange meanwhile, F4 opens no list, a page loaded stays behind.
            for (const Qt::Key touche : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4})
                QTest::keyClick(QApplication::focusWidget(), touche);
            web->refresh();
        });
        QSignalSpy pages(web, &WebInfos::downloadComplete);
        // The same code, no key typed in between: F3 asks account 2; account 1's answer stays on screen.
        QTest::keyClick(txt(2), Qt::Key_F3);
        QCOMPARE(pendant, QStringLiteral("000|\nRequête envoyée|%1|").arg(jaune.name()));
        QCOMPARE(requetesRecues(), 2);
        QVERIFY(ecran().startsWith(QStringLiteral("111|\nDISPONIBLE|")));
        QCOMPARE(m_window->NumRepartCourant(), 2);
        QVERIFY(!m_window->findChild<FrmListe *>());
        auto *boite1 = c<QTextEdit>("txtInfos1");
        QCOMPARE(boite1->toPlainText() + fond(boite1).name(), QStringLiteral("\nDISPONIBLE") + vert.name());
        QCOMPARE(c<QLabel>("LabRetour1")->text().count(QStringLiteral("\r\n")), 2);
        // A page that arrives while the answer is shown stays behind it too.
        QCOMPARE(pages.size(), 1);
        web->refresh();
        QVERIFY(pages.wait(5000));
        QTest::qWait(100);
        QCOMPARE(visibles({"txtInfos1", "txtInfos2", "WebInfos"}), QStringLiteral("txtInfos1 txtInfos2"));
    }

    void controlesDeSaisie_data()
    {
        QTest::addColumn<QStringList>("saisie"); // name, ADELI, code
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("champ");
        const auto cip = [](const char *code) { return QStringList{"Pharmacie", "751234567", code}; };
        const QString septOuTreize =
            QStringLiteral("Merci d'indiquer les 7 chiffres du code CIP ou les 13 chiffres du code CIP13 !");
        QTest::newRow("all empty") << QStringList{"", "", ""}
                                   << "Merci d'indiquer le nom (la raison sociale) de votre pharmacie !" << 0;
        QTest::newRow("no ADELI") << QStringList{"Pharmacie", "", ""}
                                  << "Merci d'indiquer votre numéro Adeli (ou numéro de pharmacien) !" << 1;
        QTest::newRow("no CIP") << cip("") << "Merci d'indiquer un code CIP !" << 2;
        QTest::newRow("six digits") << cip("358291") << "Merci d'indiquer les 7 chiffres du code CIP !" << 2;
        QTest::newRow("eight digits") << cip("35829101") << septOuTreize << 2;
        QTest::newRow("twelve digits") << cip("340093582910") << septOuTreize << 2;
        QTest::newRow("CIP13, wrong check digit")
            << cip("3400935829107") << "Le code CIP13 est incorrect (clé de contrôle) !" << 2;
    }
    void controlesDeSaisie()
    {
        QFETCH(QStringList, saisie);
        QFETCH(QString, message);
        QFETCH(int, champ);
        compteLocal(1, m_sim.port());
        ouvre();
        for (int i = 0; i < 3; ++i)
            txt(i)->setText(saisie[i]);
        c<TOVAButton>("cmdDispo0")->setFocus();
        QTest::mouseClick(c<TOVAButton>("cmdDispo0"), Qt::LeftButton);
        auto *general = c<QLabel>("LabRetour0");
        QCOMPARE(general->text(), message);
        QCOMPARE(encre(general), rouge);
        QVERIFY(general->heightForWidth(general->width()) <= general->height()); // a long one on two lines
        QVERIFY(txt(champ)->hasFocus());
        // Nothing is sent and the lower area is left as it was.
        QTest::qWait(50);
        QCOMPARE(requetesRecues(), 0);
        QCOMPARE(visibles({"txtInfos1", "WebInfos"}), QStringLiteral("WebInfos"));
    }

    void saisiePuisF2()
    {
        compteLocal(1, m_sim.port());
        ecrire(QStringLiteral("NomRepart1"), QString());
        ouvre();
        QVERIFY(c<TOVAButton>("cmdDispo0")->isHidden());
        txt(2)->setText(doliprane);
        // The ADELI field keeps digits; Alt with a letter that is no access key types nothing.
        auto *adeli = txt(1);
        adeli->setFocus();
        QTest::keyClicks(adeli, QStringLiteral("75a12-34 5.6"));
        for (const Qt::Key lettre : {Qt::Key_P, Qt::Key_Z, Qt::Key_X})
            QTest::keyClick(adeli, lettre, Qt::AltModifier);
        QCOMPARE(adeli->text(), QStringLiteral("75123456"));
        // Select all, cut and paste pass; pasted text is not filtered, only cut to the field's length.
        QTest::keyClick(adeli, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(adeli, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(adeli->text() + QGuiApplication::clipboard()->text(), QStringLiteral("75123456"));
        QGuiApplication::clipboard()->setText(QStringLiteral("7512345AB6"));
        QTest::keyClick(adeli, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(adeli->text(), QStringLiteral("7512345AB"));
        // F2 asks account 1, its button hidden or not; the name being typed (any character) is stored
        // first, for the request's sender.
        txt(0)->setFocus();
        QTest::keyClicks(txt(0), QStringLiteral("Pharmacie de la Gare"));
        QTest::keyClick(txt(0), Qt::Key_F2);
        QCOMPARE(lire(QStringLiteral("AdrPharmacie")), QStringLiteral("Pharmacie de la Gare"));
        QVERIFY(m_sim.dernierRecu().contains("Pharmacie de la Gare"));
        QCOMPARE(m_window->NumRepartCourant(), 1);
        QCOMPARE(c<QTextEdit>("txtInfos1")->toPlainText(), QStringLiteral("\nDISPONIBLE"));
        QCOMPARE(txt(0)->text(), QStringLiteral("Pharmacie de la Gare")); // the key itself typed nothing
    }

    void premiereToucheEffaceLeResultat_data()
    {
        QTest::addColumn<int>("touche");
        QTest::addColumn<int>("modificateurs");
        QTest::addColumn<QString>("reste");
        QTest::newRow("letter, dropped") << int(Qt::Key_X) << 0 << doliprane;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << doliprane.chopped(1);
        QTest::newRow("Ctrl+V, nothing to paste") << int(Qt::Key_V) << int(Qt::ControlModifier) << doliprane;
    }
    void premiereToucheEffaceLeResultat()
    {
        QFETCH(int, touche);
        QFETCH(int, modificateurs);
        QFETCH(QString, reste);
        ouvreSurLeSimulateur();
        interroge(1, doliprane);
        const qsizetype pages = m_pages->requests.size();
        // A key that types nothing (an arrow, Alt with a letter) leaves the answer.
        QTest::keyClick(txt(2), Qt::Key_Left);
        QTest::keyClick(txt(2), Qt::Key_P, Qt::AltModifier);
        QVERIFY(c<QTextEdit>("txtInfos1")->isVisible());
        QTest::keyClick(txt(2), Qt::Key_End);
        QTest::keyClick(txt(2), Qt::Key(touche), Qt::KeyboardModifiers(modificateurs));
        QCOMPARE(visibles({"txtInfos1", "WebInfos"}), QStringLiteral("WebInfos"));
        QCOMPARE(m_window->LabRetour(0) + m_window->LabRetour(1) + m_window->LabRetour(2), QString());
        QCOMPARE(txt(2)->text(), reste);
        QTRY_COMPARE(m_pages->requests.size(), pages + 1); // the page is fetched again
    }

    void fermetureDuranteLEchange()
    {
        m_sim.options().sansFin = true;
        ouvreSurLeSimulateur();
        QTimer::singleShot(200, this, [this] { QTest::mouseClick(c<QLabel>("PicClose"), Qt::LeftButton); });
        QElapsedTimer chrono;
        chrono.start();
        interroge(1, doliprane);
        // The window goes at once, and with it the exchange's wait.
        QVERIFY2(chrono.elapsed() < 5000, qPrintable(QString::number(chrono.elapsed())));
        QVERIFY(!m_window->isVisible());
        QCOMPARE(requetesRecues(), 1);
    }

    void listeADeuxRepartiteurs_data()
    {
        QTest::addColumn<bool>("refus");          // the second wholesaler refuses the key
        QTest::addColumn<bool>("echap");          // Escape right after Ctrl+Enter
        QTest::addColumn<QList<int>>("requetes"); // requests each wholesaler receives
        QTest::addColumn<QString>("infobulle");   // of the second wholesaler's column title, and under the table
        QTest::addColumn<QStringList>("rangees");
        QTest::addColumn<QString>("csv"); // the first product's line

        const QString doliprane =
            "3582910|2|DOLIPRANE 1000MG CPR B/8|Disponible vert|1,57 € / 1,49 € / 2,18 €||";
        const QString doliprane2 = "Disponible vert|1,884 € / 1,788 € / 2,616 €||PHOENIX";
        const QString csvDoliprane = "3582910;2;DOLIPRANE 1000MG CPR B/8;Disponible;1,57;1,49;2,18;;";
        const QString csvDoliprane2 = "Disponible;1,884;1,788;2,616;;PHOENIX;\r";
        const QString non = "Non disponible rouge|", contingent = "Contingentement : 2 boites par jour|";
        const QString autre = "Autre réponse orange|", livraison = "Livraison directe par le laboratoire|";
        QTest::newRow("both answer, 119 codes in three requests each")
            << false << false << QList<int>{3, 3} << QString()
            << QStringList{doliprane + doliprane2,
                           "3153342|1|SPASFON LYOC 80MG B/10|" + non + "3,95 €|Manque rayon|" + non +
                               "4,74 €|Manque rayon|",
                           "3622757|1|AMOXICILLINE 1G CPR DISP B/14|" + non + "2,05 € / 1,98 € / 3,24 €|" +
                               contingent + non + "2,46 € / 2,376 € / 3,888 €|" + contingent,
                           "3267408|1|EXOMUC 200MG GRANULE SACH B/24|" + autre + "2,69 €|" + livraison +
                               autre + "3,228 €|" + livraison,
                           "3000110|1||" + non + "|Produit inconnu|" + non + "|Produit inconnu|",
                           "=SOMME(B2:B9)||Pas de code CIP valide sur cette ligne : non envoyée|||||||"}
            << csvDoliprane + csvDoliprane2;
        QTest::newRow("the second refuses the key")
            << true << false << QList<int>{3, 1} << "Retour HTTP incorrect ! (vérifier la clef secrète)"
            << QStringList{doliprane + "Erreur gris|||",
                           "3000110|1||Non disponible rouge||Produit inconnu|Erreur gris|||"}
            << csvDoliprane + "Erreur;Retour HTTP incorrect ! (vérifier la clef secrète);;\r";
        QTest::newRow("Escape stops what is not sent")
            << false << true << QList<int>{1, 1} << QString()
            << QStringList{doliprane + doliprane2, "3000110|1||Annulé gris|||Annulé gris|||"}
            << csvDoliprane + csvDoliprane2;
    }

    void listeADeuxRepartiteurs()
    {
        QFETCH(bool, refus);
        QFETCH(bool, echap);
        QFETCH(QList<int>, requetes);
        QFETCH(QString, infobulle);
        QFETCH(QStringList, rangees);
        QFETCH(QString, csv);

        SimulateurPharmaML second;
        QVERIFY(second.ecoute());
        int requetes2 = 0;
        connect(&second, &SimulateurPharmaML::journal, this, [&requetes2] { ++requetes2; });
        for (SimulateurPharmaML *sim : {&m_sim, &second}) {
            sim->options().delaiMs = echap ? 100 : 0;
            sim->options().lignesMax = 50;
        }
        second.options().pourcentPrix = 120;
        second.options().reponse =
            refus ? OptionsSimulateur::Reponse::Refus401 : OptionsSimulateur::Reponse::Produits;
        compteLocal(2, second.port());
        ouvreSurLeSimulateur();

        // The catalogue, a line without a code, a code twice, unknown codes up to 120 lines.
        QStringList texte{"3582910\t1", "=SOMME(B2:B9)", "3153342", "3622757", "3267408", "3582910;1"};
        for (int i = 1; texte.size() < 121; ++i)
            texte << QString::number(3000000 + i);
        QGuiApplication::clipboard()->setText(texte.join(u'\n'));

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
        QVERIFY(progression->isVisible());
        // A failure is told in words under the table too.
        auto *echecs = liste->findChild<QLabel *>("echecs");
        QCOMPARE(echecs->isVisible(), !infobulle.isEmpty());
        QCOMPARE(echecs->text(), infobulle.isEmpty() ? QString() : "CERP ROUEN : " + infobulle);

        auto *table = liste->findChild<QTableView *>("table");
        QCOMPARE(table->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("CERP ROUEN"));
        QCOMPARE(table->model()->headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(), infobulle);
        for (const QString &attendue : rangees)
            QCOMPARE(rangee(table->model(), attendue.section(u'|', 0, 0)), attendue);
        QTest::qWait(150);
        QCOMPARE((QList<int>{requetesRecues(), requetes2}), requetes);

        const QString chemin = m_dir->filePath("liste.csv");
        QVERIFY(liste->exporte(chemin));
        QFile fichier(chemin);
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        const QList<QByteArray> lignesCsv = fichier.readAll().split('\n');
        QVERIFY(lignesCsv[0].startsWith("\xEF\xBB\xBF"
                                        "Code;Quantité;Désignation;PHOENIX;PHOENIX PHAHT;"));
        QCOMPARE(QString::fromUtf8(lignesCsv[1]), csv);
        // A line without a code has its text in a column of its own, the last; a cell a spreadsheet would
        // take for a formula is written as text.
        QVERIFY(lignesCsv.contains(QByteArray(lignesCsv[0].count(';'), ';') + "'=SOMME(B2:B9)\r"));
        // A name in .xlsx gives a workbook (a zip archive).
        QVERIFY(liste->exporte(m_dir->filePath("liste.XLSX")));
        QFile classeur(m_dir->filePath("liste.XLSX"));
        QVERIFY(classeur.open(QIODevice::ReadOnly));
        QCOMPARE(classeur.read(2), "PK");

        // Escape during the check did not close the window; "Vider" clears the progress, Ctrl+Z the rest.
        QVERIFY(liste->isVisible());
        QString question;
        repondra(question, QMessageBox::Yes);
        liste->vide();
        QTest::qWait(0);
        QVERIFY(question.startsWith("Vider la liste|Retirer les 120 ligne(s) de la liste ?"));
        QCOMPARE(table->model()->rowCount(), 0);
        QVERIFY(!progression->isVisible());
        liste->annuleModification();
        QCOMPARE(table->model()->rowCount(), 120);

        // The list and the window's place come back with the program.
        liste->resize(700, 400);
        liste->close();
        ouvre();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        liste = m_window->findChild<FrmListe *>();
        QVERIFY(liste);
        QCOMPARE(liste->size(), QSize(700, 400));
        table = liste->findChild<QTableView *>("table");
        QCOMPARE(table->model()->rowCount(), 119);
        QCOMPARE(rangee(table->model(), "3582910").section(u'|', 0, 1), QStringLiteral("3582910|2"));
    }
};

QTEST_MAIN(TestRequete)
#include "tst_requete.moc"
