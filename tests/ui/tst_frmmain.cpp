#include "frmliste.h"
#include "modskin.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include "ui/fenetreessai.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>

using namespace FenetreEssai;

namespace {

// Stands for the user's browser: keeps the addresses it is asked to open.
class Navigateur : public QObject {
    Q_OBJECT
public:
    Navigateur() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "ouvre"); }
    ~Navigateur() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    Q_INVOKABLE void ouvre(const QUrl &url) { ouvertes << url; }
    QList<QUrl> ouvertes;
};

} // namespace

// The main window without a wholesaler: start-up, settings pane and file, web pane, keys, links, dragging.
class TestFrmMain : public QObject, public Banc {
    Q_OBJECT
    Navigateur m_navigateur;

    void quitte(QWidget *champ)
    {
        QVERIFY(champ->hasFocus());
        QTest::keyClick(champ, Qt::Key_Tab);
        QVERIFY(!champ->hasFocus());
    }
    void ouvrePanneau(int onglet)
    {
        auto *onglets = c<TabStrip>("TabParam");
        if (onglets->isHidden())
            QTest::mouseClick(c<TOVAButton>("cmdParam"), Qt::LeftButton);
        QTest::mouseClick(onglets->tabBar(), Qt::LeftButton, {},
                          onglets->tabBar()->tabRect(onglet - 1).center());
        QCOMPARE(m_window->NumRepartCourant(), onglet);
    }
    // Presses the keys in turn and checks which control has the focus after each.
    void suit(const QList<int> &touches, const QStringList &focus, Qt::KeyboardModifiers modificateurs = {})
    {
        for (qsizetype i = 0; i < touches.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(touches[i]), modificateurs);
            QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget()->objectName(), focus[i], 1000);
        }
    }
    QComboBox *liste() { return c<QComboBox>("cboDispo"); }

private slots:
    void init() { prepare(); }
    void cleanup() { libere(); }

    void demarrage_data()
    {
        QTest::addColumn<QList<int>>("comptes"); // the complete accounts
        QTest::addColumn<QString>("vus");
        QTest::newRow("no account") << QList<int>{} << "LabSansParam TabParam WebInfos";
        QTest::newRow("account 2 only") << QList<int>{2} << "cmdDispo1 WebInfos";
        QTest::newRow("both accounts") << QList<int>{1, 2} << "cmdDispo0 cmdDispo1 WebInfos";
    }
    void demarrage()
    {
        QFETCH(QList<int>, comptes);
        pharmacie();
        ecrire("AdeliPharmacie", "75 12&X=1#é"); // sent percent-encoded
        ecrire("NomRepart1", "PHOENIX");
        for (int n : comptes)
            compteLocal(n, 9);
        ouvre();
        QCOMPARE(txt(0)->text(), QStringLiteral("Pharmacie du Marché"));
        QTEST(visibles({"cmdDispo0", "cmdDispo1", "LabSansParam", "LabDemandeInfos", "TabParam", "WebInfos"}),
              "vus");
        if (comptes.contains(2))
            QCOMPARE(c<TOVAButton>("cmdDispo1")->Caption(), QStringLiteral("Disponibilité CERP ROUEN"));
        // The settings pane holds account 1 when it is complete.
        QCOMPARE(liste()->currentText() + txt(5)->text(),
                 comptes.contains(1) ? QStringLiteral("PHOENIXhttp://127.0.0.1/pml") : QString());
        // The window's shape is its skin.
        QCOMPARE(m_window->mask(), modSkin::RegionDepuisImage(QImage(QStringLiteral(":/solvarin/skin.png"))));
        QCOMPARE(c<QLabel>("LabAdresse")->text(),
                 QStringLiteral("127.0.0.1:%1").arg(QUrl(m_pages->base()).port()));
        // The web pane asks for this pharmacy's page.
        QTRY_VERIFY(c<WebInfos>("WebInfos")->documentCharge());
        QCOMPARE(m_pages->requests,
                 (QList<QByteArray>{"GET /Infos.php?ADL=75%2012%26X%3D1%23%C3%A9 HTTP/1.1"}));
        if (!comptes.isEmpty()) // with nothing to set up, the focus waits in the CIP field
            QTRY_VERIFY(txt(2)->hasFocus());
    }

    void pressePapiers_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("champ"); // what the CIP field takes
        QTest::newRow("decimal number of seven characters") << "12345.6"
                                                            << "12345.6";
        QTest::newRow("infinity") << "   -inf"
                                  << "";
        QTest::newRow("six digits") << "123456"
                                    << "";
        QTest::newRow("CIP13, wrong check digit") << "3400935829107"
                                                  << "";
        QTest::newRow("spreadsheet cell") << "3582910\r\n"
                                          << "3582910";
        QTest::newRow("CIP13 as printed under the barcode") << " 3 400935 829108\t"
                                                            << "3400935829108";
    }
    void pressePapiers()
    {
        QFETCH(QString, texte);
        // Read at start-up, and again when the window is first activated.
        QGuiApplication::clipboard()->setText(texte);
        m_window = std::make_unique<frmMain>(nullptr, Temporisation{10, 20});
        QTEST(txt(2)->text(), "champ");
        txt(2)->clear();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTEST(txt(2)->text(), "champ");
    }

    void comptesDuPanneau()
    {
        compteLocal(1, 9);
        ecrire("ClefCli1", QString());
        ecrire("NomRepart2", "ORP");
        ecrire("CodeRepart2", "ORP-7");
        ouvre();
        // Each tab loads its account from the file, the tab already chosen too; a hint tells an incomplete
        // one.
        ouvrePanneau(2);
        QCOMPARE(liste()->currentText() + txt(4)->text() + txt(5)->text(), QStringLiteral("ORPORP-7"));
        ecrire("CodeRepart2", "ORP-8");
        ouvrePanneau(2);
        QCOMPARE(txt(4)->text(), QStringLiteral("ORP-8"));
        ouvrePanneau(1);
        QCOMPARE(txt(4)->text(), QStringLiteral("ETS1"));
        const QStringList etat{"cmdDispo0", "LabSansParam", "LabDemandeInfos"};
        QCOMPARE(visibles(etat), QStringLiteral("LabSansParam LabDemandeInfos"));
        auto *clef = txt(7);
        clef->setFocus();
        QTest::keyClicks(clef, "4083");
        quitte(clef);
        QCOMPARE(visibles(etat), QStringLiteral("cmdDispo0"));
        QCOMPARE(c<TOVAButton>("cmdDispo0")->Caption(), QStringLiteral("Disponibilité PHOENIX"));
        // Emptying a field stores it at once and hides the button, without the main pane's hint.
        clef->setFocus();
        clef->selectAll();
        QTest::keyClick(clef, Qt::Key_Delete);
        QCOMPARE(lire("ClefCli1"), QString());
        QCOMPARE(visibles(etat), QStringLiteral("LabDemandeInfos"));
    }

    // Each field that every request carries says what it needs, and turns pink while it would stop one.
    void champsRequis_data()
    {
        QTest::addColumn<int>("champ");
        QTest::addColumn<QString>("valeur");
        QTest::addColumn<bool>("refuse");
        QTest::newRow("branch code") << 4 << "ETS1" << false;
        QTest::newRow("branch code with a blank") << 4 << "ETS 1" << true;
        QTest::newRow("branch code of 21 characters") << 4 << QString(21, u'E') << true;
        QTest::newRow("https URL, encoded password, IPv6") << 5 << "https://u:p%40ss@[::1]:8443" << false;
        QTest::newRow("ftp URL") << 5 << "ftp://hote/pml" << true;
        QTest::newRow("client number empty") << 6 << "" << true;
        QTest::newRow("secret key empty") << 7 << "" << true;
        QTest::newRow("pharmacy name empty") << 0 << "" << true;
    }
    void champsRequis()
    {
        QFETCH(int, champ);
        QFETCH(QString, valeur);
        ouvre();
        ouvrePanneau(1);
        QLineEdit *t = txt(champ);
        t->setText(valeur + u'x');
        t->setText(valeur);
        QVERIFY(t->toolTip().startsWith(QLatin1String("Obligatoire")));
        QTEST(t->palette().color(QPalette::Base) != QColor(Qt::white), "refuse");
    }

    void listeGardee_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::addColumn<QStringList>("vues"); // the message boxes, title and text: opening, then two changes
        const QString ecriture =
            QStringLiteral("Ecriture Error|La liste n'a pas pu être enregistrée dans Liste.txt : ");
        const QString tube = QStringLiteral("ce n'est pas un fichier ordinaire");
        QTest::newRow("a pipe in place of the list")
            << "pipe"
            << QStringList{"Lecture Error|La liste n'a pas pu être lue dans Liste.txt : " + tube,
                           ecriture + tube, ""};
        QTest::newRow("a read-only folder")
            << "folder" << QStringList{"", ecriture + "dossier en lecture seule", ""};
    }

    // The list window tells at once, and once, what became of its file, and keeps the list in memory.
    void listeGardee()
    {
        QFETCH(QString, cas);
        QFETCH(QStringList, vues);
        const auto droits = QFile::permissions(m_dir->path());
        const auto retablit = qScopeGuard([&] { QFile::setPermissions(m_dir->path(), droits); });
        if (cas == u"pipe")
            QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {m_dir->filePath("Liste.txt")}), 0);
        else
            QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        QString vu;
        repondra(vu, QMessageBox::Ok);
        FrmListe liste(nullptr, std::chrono::milliseconds(100));
        QCOMPARE(vu.section(u'|', 0, 1), vues[0]);
        for (const QString &code : {QStringLiteral("3582910"), QStringLiteral("3153342")}) {
            vu.clear();
            repondra(vu, QMessageBox::Ok);
            liste.ajoute(code);
            QCOMPARE(vu.section(u'|', 0, 1), vues[code == u"3582910" ? 1 : 2]);
        }
        QCOMPARE(liste.findChild<QTableView *>("table")->model()->rowCount(), 2);
    }

    // The settings pane's list of wholesalers and its fields store what is left, and say when they cannot.
    void listeDesRepartiteurs()
    {
        ecrire("NomRepart1", "ORP");
        ouvre();
        ouvrePanneau(2);
        liste()->setFocus();
        // Typed letters are refused, a blank passes; a text that is no name stores nothing.
        QTest::keyClicks(liste(), "ORP ");
        QCOMPARE(liste()->currentText(), QStringLiteral(" "));
        quitte(liste());
        QCOMPARE(lire("NomRepart2"), QStringLiteral("<absent>"));
        // A name chosen is stored with its identifier when the list is left, in this account only.
        liste()->setFocus();
        liste()->setCurrentIndex(liste()->findText(QStringLiteral("PHOENIX")));
        QCOMPARE(lire("NomRepart2"), QStringLiteral("<absent>"));
        quitte(liste());
        QCOMPARE(lire("NomRepart2") + lire("IdRepart2"), QStringLiteral("PHOENIX23"));
        QCOMPARE(txt(3)->text() + lire("NomRepart1"), QStringLiteral("23ORP"));
        // A field is stored when left.
        txt(6)->setFocus();
        QTest::keyClicks(txt(6), "0999908");
        QCOMPARE(lire("NumeroCli2"), QStringLiteral("<absent>")); // not while still in it
        quitte(txt(6));
        QCOMPARE(lire("NumeroCli2") + lire("NumeroCli1"), QStringLiteral("0999908<absent>"));
        // A file that cannot be written: the user is told once, the field keeps the text.
        QVERIFY(QFile::setPermissions(m_dir->filePath("Solvarin.ini"), QFile::ReadOwner));
        txt(6)->setFocus();
        QTest::keyClick(txt(6), Qt::Key_1);
        QString vue;
        repondra(vue, QMessageBox::Ok);
        quitte(txt(6));
        QCOMPARE(vue,
                 QStringLiteral("Ecriture Error|Le paramètre n'a pas pu être enregistré dans Solvarin.ini : "
                                "fichier en lecture seule|%1|%2")
                     .arg(int(QMessageBox::Critical))
                     .arg(int(QMessageBox::Ok)));
        QCOMPARE(txt(6)->text() + lire("NumeroCli2"), QStringLiteral("099990810999908"));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        txt(6)->setFocus();
        vue.clear();
        repondra(vue, QMessageBox::Ok);
        quitte(txt(6));
        QTest::qWait(50); // time for a second message, which must not come
        QCOMPARE(vue, QString());
    }

    void pageChargee_data()
    {
        QTest::addColumn<QByteArray>("page"); // empty: no server at the address
        QTest::addColumn<bool>("compte");
        QTest::addColumn<bool>("devant"); // the web pane shown and the focus in the CIP field
        const QByteArray texte = "<html><body><p>Bienvenue</p></body></html>";
        QTest::newRow("page with text") << texte << true << true;
        QTest::newRow("page without text") << QByteArray("<html><body></body></html>") << true << false;
        QTest::newRow("no server: a text of its own") << QByteArray() << true << true;
        QTest::newRow("settings pane shown") << texte << false << false;
    }
    void pageChargee()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, compte);
        if (compte)
            compteLocal(1, 9);
        m_pages->setReply(httpReply(page));
        if (page.isEmpty()) {
            QTcpServer ferme;
            QVERIFY(ferme.listen(QHostAddress::LocalHost));
            ecrire("URLEditeur", QStringLiteral("http://127.0.0.1:%1").arg(ferme.serverPort()));
        }
        ouvre();
        auto *web = c<WebInfos>("WebInfos");
        QTRY_VERIFY(web->documentCharge());
        if (compte) // as when a result is shown
            web->hide();
        txt(0)->setFocus();
        QSignalSpy fin(web, &WebInfos::downloadComplete);
        web->refresh();
        QVERIFY(fin.wait(5000));
        QTest::qWait(100); // time for the focus to move, or to show that it stays
        QTEST(txt(2)->hasFocus(), "devant");
        QCOMPARE(visibles({"TabParam", "WebInfos"}),
                 compte ? QString(txt(2)->hasFocus() ? "WebInfos" : "") : "TabParam WebInfos");
    }

    void clavier_data()
    {
        QTest::addColumn<int>("comptes");
        QTest::newRow("account 1") << 1;
        QTest::newRow("both accounts") << 2;
    }
    void clavier()
    {
        QFETCH(int, comptes);
        pharmacie();
        for (int n = 1; n <= comptes; ++n)
            compteLocal(n, 9);
        ouvre();
        QTRY_VERIFY(c<WebInfos>("WebInfos")->documentCharge() && txt(2)->hasFocus());
        // The settings button shows the pane in place of the answers and the page.
        c<QTextEdit>("txtInfos1")->show();
        const QStringList volet{"TabParam", "PicParam", "WebInfos", "txtInfos1", "LabRetour1"};
        QTest::mouseClick(c<TOVAButton>("cmdParam"), Qt::LeftButton);
        QCOMPARE(visibles(volet), QStringLiteral("TabParam PicParam"));
        // Closing the pane stores the field being typed in; the page is fetched again.
        txt(5)->setFocus();
        QTest::keyClicks(txt(5), "/ws");
        QTest::mouseClick(c<TOVAButton>("cmdParam"), Qt::LeftButton);
        QCOMPARE(lire("URLRepart1"), QStringLiteral("http://127.0.0.1/pml/ws"));
        QCOMPARE(visibles(volet), QStringLiteral("WebInfos"));
        QTRY_COMPARE(m_pages->requests.size(), 2);
        // Alt and a letter moves to the field it names; the settings pane's keys only while it is shown.
        suit({Qt::Key_S, Qt::Key_R, Qt::Key_N}, {"TxtDispo2", "TxtDispo2", "TxtDispo0"}, Qt::AltModifier);
        ouvrePanneau(1);
        suit({Qt::Key_R, Qt::Key_S}, {"cboDispo", "TxtDispo7"}, Qt::AltModifier);
        // Up climbs the settings fields to the list, which then takes the key for itself; and the CIP
        // and identity fields to the last query button shown.
        suit(QList<int>(5, Qt::Key_Up), {"TxtDispo6", "TxtDispo5", "TxtDispo4", "cboDispo", "cboDispo"});
        QCOMPARE(liste()->currentText(), QStringLiteral("PHARMAR"));
        txt(2)->setFocus();
        suit(QList<int>(3, Qt::Key_Up),
             {"TxtDispo1", "TxtDispo0", QStringLiteral("cmdDispo%1").arg(comptes - 1)});
        txt(0)->setFocus();
        txt(2)->setText("3582910");
        // Down and Enter walk the fields in tab order; from the last settings field to the help picture,
        // and from there back to the top. They ask nothing; the CIP field is never stored.
        suit({Qt::Key_Down, Qt::Key_Return, Qt::Key_Down}, {"TxtDispo1", "TxtDispo2", "cmdDispo0"});
        liste()->setFocus();
        suit({Qt::Key_Tab, Qt::Key_Enter, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down},
             {"TxtDispo4", "TxtDispo5", "TxtDispo6", "TxtDispo7", "PicAide", "TxtDispo0"});
        QVERIFY(c<QTextEdit>("txtInfos1")->isHidden());
        QFile ini(m_dir->filePath("Solvarin.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(!ini.readAll().contains("3582910"));
    }

    // The window with nothing set up: a long reason, the online help, the dragging.
    void fenetreSeule()
    {
        ouvre();
        // A reason of the 50 characters Pharma-ML allows is read whole, in a smaller font.
        const QString raison = QStringLiteral("Rupture chez le fabricant, retour prévu en juillet");
        m_window->setTxtInfos(2, QStringLiteral("\r\nNON DISPONIBLE \r\n(%1)").arg(raison));
        auto *boite = c<QTextEdit>("txtInfos2");
        boite->show();
        QVERIFY(!boite->verticalScrollBar()->isVisible());
        QCOMPARE_LE(boite->document()->size().height(), boite->viewport()->height());

        txt(0)->setFocus();
        QString vue;
        repondra(vue, QMessageBox::Yes);
        QTest::keyClick(txt(0), Qt::Key_F1);
        QCOMPARE(vue,
                 QStringLiteral(
                     "Aide en ligne|Accès à l'aide en ligne de Solvarin\r\nsur le site web 127.0.0.1 ?|%1|%2")
                     .arg(int(QMessageBox::Question))
                     .arg(int(QMessageBox::Yes | QMessageBox::No)));
        QCOMPARE(m_navigateur.ouvertes, QList<QUrl>{QUrl(m_pages->base() + QStringLiteral("/solvarin.php"))});

        const auto glisse = [](QWidget *w, Qt::MouseButton bouton, QPoint de) {
            QTest::mousePress(w, bouton, {}, de);
            QTest::mouseMove(w, de + QPoint(40, 25));
            QTest::mouseRelease(w, bouton, {}, de + QPoint(40, 25));
        };
        auto *peau = c<QLabel>("Pic");
        const QPoint nu(300, 30); // bare skin, between the help picture and the pharmacy name
        QVERIFY(!peau->childAt(nu));
        const QPoint depart = m_window->pos();
        glisse(peau, Qt::RightButton, nu);
        QTest::mouseMove(peau, nu); // once released, the pointer moves alone
        for (const char *nom : {"Label2", "LabRetour1", "TxtDispo0"}) // nor do labels and controls drag
            glisse(c<QWidget>(QLatin1String(nom)), Qt::LeftButton, QPoint(5, 5));
        QCOMPARE(m_window->pos(), depart + QPoint(40, 25));
    }

    // The window's shape.
    void formeDeLaPeau_data()
    {
        // '.' the key colour, whatever it is; 'w' white; 'n' white but for one unit of blue; '#' drawing.
        QTest::addColumn<QStringList>("rangees");
        QTest::addColumn<QColor>("clef");
        QTest::newRow("run reaching the last column") << QStringList{"..###", "#...."} << QColor(Qt::white);
        QTest::newRow("hole inside the drawing")
            << QStringList{".....", ".#.##", "....."} << QColor(Qt::white);
        QTest::newRow("black key, white drawn") << QStringList{"..w", ".w."} << QColor(Qt::black);
        QTest::newRow("one unit from the key") << QStringList{"..n"} << QColor(Qt::white);
    }
    void formeDeLaPeau()
    {
        QFETCH(QStringList, rangees);
        QFETCH(QColor, clef);
        const QHash<QChar, QColor> couleurs{
            {u'.', clef}, {u'w', Qt::white}, {u'n', QColor(255, 255, 254)}, {u'#', QColor(20, 110, 100)}};
        QImage image(int(rangees[0].size()), int(rangees.size()), QImage::Format_RGB888);
        QRegion attendue;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                image.setPixelColor(x, y, couleurs[rangees[y][x]]);
                if (rangees[y][x] != u'.')
                    attendue += QRect(x, y, 1, 1);
            }
        QCOMPARE(modSkin::RegionDepuisImage(image), attendue);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
