#include "application.h"
#include "estnumerique.h"
#include "modskin.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include "ui/fenetreessai.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTextEdit>

using namespace FenetreEssai;

class TestFrmMain : public QObject, public Banc {
    Q_OBJECT
private slots:
    void init() { prepare(); }
    void cleanup() { libere(); }

    void startWithoutAccount();
    void startWithAccount2Only();
    void startWithBothAccounts();
    void windowShapeAndTabOrder();
    void clipboardNumbers_data();
    void clipboardNumbers();
    void clipboardAtStartUpAndActivation_data();
    void clipboardAtStartUpAndActivation();
    void tabClickWithIncompleteAccount();
    void settingsButtonShowsAndHidesThePanel();
    void fieldStoredOnLeaving_data();
    void fieldStoredOnLeaving();
    void cipFieldStoresNothing();
    void wholesalerChosenFromTheList();
    void wholesalerNameShortenedOrPasted();
    void typedLettersRefusedInTheList();
    void completenessTogglesButtonAndHints();
    void pendingEditValidatedOnClosingThePanel();
    void pageLoaded_data();
    void pageLoaded();
    void resultBoxChangeFocusesCip();
    void linkPointerBesideTheProgram();
    void settingsFileMessages();

private:
    void leave(QWidget *field) {
        QVERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key_Tab);
        QVERIFY(!field->hasFocus());
    }
    void openPanelOnTab(int tab) {
        auto *tabs = c<TabStrip>("TabParam");
        if (tabs->isHidden())
            QTest::mouseClick(c<TOVAButton>("cmdParam"), Qt::LeftButton);
        QVERIFY(!tabs->isHidden());
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tab - 1).center());
        QCOMPARE(m_window->NumRepartCourant(), tab);
    }
};

void TestFrmMain::startWithoutAccount() {
    pharmacie();
    m_window = ouvre();
    QCOMPARE(m_window->NumRepartCourant(), 1);
    QCOMPARE(txt(0)->text(), QStringLiteral("Pharmacie du Marché"));
    QCOMPARE(txt(1)->text(), QStringLiteral("751234567"));
    QVERIFY(c<TOVAButton>("cmdDispo0")->isHidden());
    QVERIFY(c<TOVAButton>("cmdDispo1")->isHidden());
    QVERIFY(c<QLabel>("LabSansParam")->isVisible());
    QVERIFY(c<TabStrip>("TabParam")->isVisible());
    QVERIFY(c<QLabel>("LabDemandeInfos")->isHidden());
    QCOMPARE(c<QComboBox>("cboDispo")->currentText(), QString());
    QCOMPARE(txt(5)->text(), QString());
    // The web pane is shown, beneath the settings pane; it asks for the page of this pharmacy.
    auto *web = c<WebInfos>("WebInfos");
    QVERIFY(web->isVisible());
    const QObjectList order = web->parentWidget()->children();
    QVERIFY(order.indexOf(web) < order.indexOf(c<QWidget>("PicParam")));
    QVERIFY(order.indexOf(web) < order.indexOf(c<TabStrip>("TabParam")));
    QTRY_VERIFY(web->documentCharge());
    QCOMPARE(m_pages->requests, (QList<QByteArray>{"GET /Infos.php?ADL=751234567 HTTP/1.1"}));
}

void TestFrmMain::startWithAccount2Only() {
    compteLocal(2, 9);
    ecrire(QStringLiteral("NomRepart1"), QStringLiteral("PHOENIX"));
    m_window = ouvre();
    QVERIFY(c<TOVAButton>("cmdDispo0")->isHidden());
    QVERIFY(c<TOVAButton>("cmdDispo1")->isVisible());
    QCOMPARE(c<TOVAButton>("cmdDispo1")->Caption(), QStringLiteral("Disponibilité CERP ROUEN"));
    QCOMPARE(m_window->NumRepartCourant(), 1);
    QVERIFY(c<QLabel>("LabSansParam")->isHidden());
    QVERIFY(c<TabStrip>("TabParam")->isHidden());
    QVERIFY(c<WebInfos>("WebInfos")->isVisible());
    // Account 2 is not loaded into the settings pane, and account 1 is not complete.
    QCOMPARE(c<QComboBox>("cboDispo")->currentText(), QString());
    for (int i = 3; i <= 7; ++i)
        QCOMPARE(txt(i)->text(), QString());
    // With nothing to set up, the focus waits in the CIP field.
    QTRY_VERIFY(txt(2)->hasFocus());
}

void TestFrmMain::startWithBothAccounts() {
    compteLocal(1, 9);
    compteLocal(2, 9);
    m_window = ouvre();
    QCOMPARE(c<TOVAButton>("cmdDispo0")->Caption(), QStringLiteral("Disponibilité PHOENIX"));
    QCOMPARE(c<TOVAButton>("cmdDispo1")->Caption(), QStringLiteral("Disponibilité CERP ROUEN"));
    QVERIFY(c<TOVAButton>("cmdDispo0")->isVisible());
    QVERIFY(c<TOVAButton>("cmdDispo1")->isVisible());
    QVERIFY(c<TabStrip>("TabParam")->isHidden());
    QVERIFY(c<QLabel>("LabSansParam")->isHidden());
    // The hidden settings pane holds account 1, its key masked.
    QCOMPARE(c<QComboBox>("cboDispo")->currentText(), QStringLiteral("PHOENIX"));
    const QStringList account1{"23", "ETS1", "http://127.0.0.1/pml", "0999908", "4083"};
    for (int i = 3; i <= 7; ++i)
        QCOMPARE(txt(i)->text(), account1[i - 3]);
    QCOMPARE(txt(7)->echoMode(), QLineEdit::Password);
}

void TestFrmMain::windowShapeAndTabOrder() {
    m_window = ouvre();
    QCOMPARE(m_window->mask(), modSkin::RegionDepuisImage(QImage(QStringLiteral(":/solvarin/skin.png"))));
    QVERIFY(!m_window->mask().contains(QPoint(0, 0)));
    QVERIFY(m_window->mask().contains(QPoint(330, 180)));
    QCOMPARE(c<TabStrip>("TabParam")->tabWidth(), 297);

    // Tab order, hidden controls included.
    const QStringList expected{"TxtDispo0", "TxtDispo1", "TxtDispo2", "cmdDispo0", "cmdDispo1", "cboDispo",
                               "TxtDispo4", "TxtDispo5", "TxtDispo6", "TxtDispo7", "PicAide",   "cmdParam",
                               "TxtDispo3", "txtInfos2", "txtInfos1", "WebInfos",  "PicClose"};
    QStringList chain;
    QWidget *w = txt(0);
    do {
        if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != txt(0));
    QCOMPARE(chain, expected);
}

void TestFrmMain::clipboardNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::newRow("seven digits") << "1234567" << true;
    QTest::newRow("decimal number of seven characters") << "12345.6" << true;
    QTest::newRow("signed") << "-123456" << true;
    QTest::newRow("exponent") << "1.5e+10" << true;
    QTest::newRow("letters") << "12345AB" << false;
    QTest::newRow("infinity") << "   -inf" << false;
    QTest::newRow("two points") << "12.34.5" << false;
    QTest::newRow("six digits") << "123456" << false;
    QTest::newRow("eight digits") << "12345678" << false;
    QTest::newRow("empty") << "" << false;
    // CIP13 codes of real boxes, and the same with a wrong check digit.
    QTest::newRow("CIP13 3400935829108") << "3400935829108" << true;
    QTest::newRow("CIP13 3400930260494") << "3400930260494" << true;
    QTest::newRow("CIP13, check digit 7 for 8") << "3400935829107" << false;
    QTest::newRow("CIP13, check digit 5 for 4") << "3400930260495" << false;
    QTest::newRow("CIP13, two digits swapped") << "3400953829108" << false;
    QTest::newRow("twelve digits") << "340093582910" << false;
    QTest::newRow("thirteen characters, not digits") << "34009358291.8" << false;
}

void TestFrmMain::clipboardNumbers() {
    QFETCH(QString, text);
    QFETCH(bool, taken);
    QCOMPARE(EstCipDuPressePapiers(text), taken);
}

void TestFrmMain::clipboardAtStartUpAndActivation_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::newRow("1234567") << "1234567" << true;
    QTest::newRow("12345.6") << "12345.6" << true;
    QTest::newRow("123456") << "123456" << false;
    QTest::newRow("CIP13") << "3400935829108" << true;
    QTest::newRow("CIP13, wrong check digit") << "3400935829107" << false;
}

void TestFrmMain::clipboardAtStartUpAndActivation() {
    QFETCH(QString, text);
    QFETCH(bool, taken);
    QGuiApplication::clipboard()->setText(text);
    {
        frmMain started(nullptr, Temporisation{10, 20});
        QCOMPARE(controle<QLineEdit>(&started, "TxtDispo2")->text(), taken ? text : QString());
    }
    // Copied after start-up and before the window is activated.
    QGuiApplication::clipboard()->clear();
    m_window = std::make_unique<frmMain>(nullptr, Temporisation{10, 20});
    QCOMPARE(txt(2)->text(), QString());
    QGuiApplication::clipboard()->setText(text);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(txt(2)->text(), taken ? text : QString());
}

void TestFrmMain::tabClickWithIncompleteAccount() {
    compteLocal(1, 9);
    ecrire(QStringLiteral("NomRepart2"), QStringLiteral("ORP"));
    ecrire(QStringLiteral("CodeRepart2"), QStringLiteral("ORP-7"));
    m_window = ouvre();
    openPanelOnTab(2);
    QVERIFY(c<QLabel>("LabDemandeInfos")->isVisible());
    QCOMPARE(c<QComboBox>("cboDispo")->currentText(), QStringLiteral("ORP"));
    QCOMPARE(txt(4)->text(), QStringLiteral("ORP-7"));
    QCOMPARE(txt(5)->text(), QString());
    // Back on the complete account: its settings and no hint.
    openPanelOnTab(1);
    QVERIFY(c<QLabel>("LabDemandeInfos")->isHidden());
    QCOMPARE(txt(4)->text(), QStringLiteral("ETS1"));
}

void TestFrmMain::settingsButtonShowsAndHidesThePanel() {
    compteLocal(1, 9);
    m_window = ouvre();
    auto *web = c<WebInfos>("WebInfos");
    QTRY_VERIFY(web->documentCharge());
    c<QTextEdit>("txtInfos1")->show();
    auto *param = c<TOVAButton>("cmdParam");

    QTest::mouseClick(param, Qt::LeftButton);
    QVERIFY(c<TabStrip>("TabParam")->isVisible());
    QVERIFY(c<QWidget>("PicParam")->isVisible());
    QVERIFY(web->isHidden());
    QVERIFY(c<QTextEdit>("txtInfos1")->isHidden());
    QVERIFY(c<QLabel>("LabRetour1")->isHidden());

    QTest::mouseClick(param, Qt::LeftButton);
    QVERIFY(c<TabStrip>("TabParam")->isHidden());
    QVERIFY(c<QWidget>("PicParam")->isHidden());
    QVERIFY(web->isVisible());
    QTRY_COMPARE(m_pages->requests.size(), 2); // the page is fetched again
    // The result area stays hidden until the next query.
    QVERIFY(c<QLabel>("LabRetour1")->isHidden());
}

void TestFrmMain::fieldStoredOnLeaving_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("pharmacy name") << 0 << "AdrPharmacie" << "Pharmacie de la Gare" << false;
    QTest::newRow("ADELI") << 1 << "AdeliPharmacie" << "751234567" << false;
    QTest::newRow("establishment code") << 4 << "CodeRepart2" << "ETS 42" << false;
    QTest::newRow("URL") << 5 << "URLRepart2" << "https://pml.example/ws" << false;
    QTest::newRow("client identifier") << 6 << "NumeroCli2" << "0999908" << false;
    QTest::newRow("secret key") << 7 << "ClefCli2" << "4083 x" << false;
    QTest::newRow("refused: said once, text kept") << 6 << "NumeroCli2" << "0999908" << true;
}

void TestFrmMain::fieldStoredOnLeaving() {
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(bool, readOnly);
    m_window = ouvre();
    openPanelOnTab(2);
    txt(index)->setFocus();
    QTest::keyClicks(txt(index), typed);
    // Nothing is stored while the user is still in the field.
    QCOMPARE(lire(key), QStringLiteral("<absent>"));
    QString vue;
    if (readOnly) {
        QVERIFY(QFile::setPermissions(m_dir->filePath(QStringLiteral("Solvarin.ini")), QFile::ReadOwner));
        repondra(vue, QMessageBox::Ok);
    }
    leave(txt(index));
    if (readOnly) {
        QCOMPARE(vue.section(u'|', 0, 1), QStringLiteral("Ecriture Error|Le paramètre n'a pas pu être enregistré "
                                                         "dans Solvarin.ini : fichier en lecture seule"));
        QCOMPARE(txt(index)->text(), typed);
        // Leaving the unchanged field again tells nothing more.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        txt(index)->setFocus();
        int encore = 0;
        QTimer::singleShot(200, this, [&encore] {
            if (QWidget *box = QApplication::activeModalWidget())
                encore += box->close();
        });
        leave(txt(index));
        QTest::qWait(300);
        QCOMPARE(encore, 0);
    }
    QCOMPARE(lire(key), readOnly ? QStringLiteral("<absent>") : typed);
    if (key.endsWith(u'2')) // the other account is untouched
        QCOMPARE(lire(key.chopped(1) + u'1'), QStringLiteral("<absent>"));
}

void TestFrmMain::cipFieldStoresNothing() {
    m_window = ouvre();
    txt(2)->setFocus();
    QFile ini(m_dir->filePath(QStringLiteral("Solvarin.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    QTest::keyClicks(txt(2), QStringLiteral("3400934"));
    leave(txt(2));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
}

void TestFrmMain::wholesalerChosenFromTheList() {
    m_window = ouvre();
    openPanelOnTab(2);
    auto *list = c<QComboBox>("cboDispo");
    const auto choose = [&](int index) {
        list->setFocus();
        list->setCurrentIndex(index);
    };
    choose(list->findText(QStringLiteral("PHOENIX")));
    QCOMPARE(lire(QStringLiteral("NomRepart2")), QStringLiteral("<absent>"));
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart2")), QStringLiteral("PHOENIX"));
    QCOMPARE(lire(QStringLiteral("IdRepart2")), QStringLiteral("23"));
    QCOMPARE(txt(3)->text(), QStringLiteral("23"));
    QCOMPARE(lire(QStringLiteral("NomRepart1")), QStringLiteral("<absent>"));
    // First and last entries: 11 and 27.
    choose(0);
    leave(list);
    QCOMPARE(lire(QStringLiteral("IdRepart2")), QStringLiteral("11"));
    choose(16);
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart2")), QStringLiteral("ORP"));
    QCOMPARE(lire(QStringLiteral("IdRepart2")), QStringLiteral("27"));
}

void TestFrmMain::wholesalerNameShortenedOrPasted() {
    ecrire(QStringLiteral("NomRepart1"), QStringLiteral("PHOENIX"));
    ecrire(QStringLiteral("IdRepart1"), QStringLiteral("23"));
    m_window = ouvre();
    openPanelOnTab(1);
    auto *list = c<QComboBox>("cboDispo");
    QCOMPARE(list->currentText(), QStringLiteral("PHOENIX"));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Backspace);
    QCOMPARE(list->currentText(), QStringLiteral("PHOENI"));
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart1")), QStringLiteral("PHOENIX"));

    QGuiApplication::clipboard()->setText(QStringLiteral("phoenix"));
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(list->currentText(), QStringLiteral("phoenix"));
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart1")), QStringLiteral("PHOENIX"));

    // The empty name stores nothing either.
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClick(list, Qt::Key_Delete);
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart1")), QStringLiteral("PHOENIX"));
    QCOMPARE(lire(QStringLiteral("IdRepart1")), QStringLiteral("23"));
}

void TestFrmMain::typedLettersRefusedInTheList() {
    m_window = ouvre();
    openPanelOnTab(1);
    auto *list = c<QComboBox>("cboDispo");
    list->setFocus();
    QTest::keyClicks(list, QStringLiteral("ORP"));
    QCOMPARE(list->currentText(), QString());
    QTest::keyClick(list, Qt::Key_Space); // a blank is let through
    QCOMPARE(list->currentText(), QStringLiteral(" "));
}

void TestFrmMain::completenessTogglesButtonAndHints() {
    compteLocal(1, 9);
    ecrire(QStringLiteral("ClefCli1"), QString());
    m_window = ouvre();
    QVERIFY(c<QLabel>("LabSansParam")->isVisible());
    QVERIFY(c<TOVAButton>("cmdDispo0")->isHidden());
    openPanelOnTab(1);
    QVERIFY(c<QLabel>("LabDemandeInfos")->isVisible());

    auto *key = txt(7);
    key->setFocus();
    QTest::keyClicks(key, QStringLiteral("4083"));
    leave(key);
    auto *button = c<TOVAButton>("cmdDispo0");
    QVERIFY(button->isVisible());
    QCOMPARE(button->Caption(), QStringLiteral("Disponibilité PHOENIX"));
    QVERIFY(c<QLabel>("LabSansParam")->isHidden());
    QVERIFY(c<QLabel>("LabDemandeInfos")->isHidden());

    // Emptying a field stores it at once and hides the button, without the main pane's hint.
    key->setFocus();
    key->selectAll();
    QTest::keyClick(key, Qt::Key_Delete);
    QVERIFY(key->hasFocus());
    QCOMPARE(lire(QStringLiteral("ClefCli1")), QString());
    QVERIFY(button->isHidden());
    QVERIFY(c<QLabel>("LabDemandeInfos")->isVisible());
    QVERIFY(c<QLabel>("LabSansParam")->isHidden());

    // A new name is shown on the button only once some field is validated.
    QTest::keyClicks(key, QStringLiteral("4083"));
    leave(key);
    auto *list = c<QComboBox>("cboDispo");
    list->setFocus();
    list->setCurrentIndex(list->findText(QStringLiteral("ORP")));
    leave(list);
    QCOMPARE(button->Caption(), QStringLiteral("Disponibilité PHOENIX"));
    txt(4)->setFocus();
    leave(txt(4));
    QCOMPARE(button->Caption(), QStringLiteral("Disponibilité ORP"));
}

void TestFrmMain::pendingEditValidatedOnClosingThePanel() {
    m_window = ouvre();
    openPanelOnTab(1);
    auto *url = txt(5);
    url->setFocus();
    QTest::keyClicks(url, QStringLiteral("https://pml.example"));
    m_window->ValideChampActif();
    QVERIFY(url->hasFocus());
    QCOMPARE(lire(QStringLiteral("URLRepart1")), QStringLiteral("https://pml.example"));

    QTest::keyClicks(url, QStringLiteral("/ws"));
    QTest::mouseClick(c<TOVAButton>("cmdParam"), Qt::LeftButton);
    QVERIFY(c<TabStrip>("TabParam")->isHidden());
    QCOMPARE(lire(QStringLiteral("URLRepart1")), QStringLiteral("https://pml.example/ws"));
}

void TestFrmMain::pageLoaded_data() {
    QTest::addColumn<bool>("withText");
    QTest::addColumn<bool>("account");
    QTest::addColumn<bool>("forward"); // the web pane shown and the focus in the CIP field
    QTest::newRow("page with text") << true << true << true;
    QTest::newRow("page without text") << false << true << false;
    QTest::newRow("settings pane shown") << true << false << false;
}

void TestFrmMain::pageLoaded() {
    QFETCH(bool, withText);
    QFETCH(bool, account);
    QFETCH(bool, forward);
    if (account)
        compteLocal(1, 9);
    if (!withText)
        m_pages->setReply(httpReply("<html><body></body></html>"));
    m_window = ouvre();
    auto *web = c<WebInfos>("WebInfos");
    QTRY_VERIFY(web->documentCharge());
    // As when a result is shown: the web pane hidden, the focus elsewhere.
    if (account)
        web->hide();
    txt(0)->setFocus();
    QSignalSpy done(web, &WebInfos::downloadComplete);
    web->refresh();
    QVERIFY(done.wait(5000));
    QTest::qWait(100);
    QCOMPARE(txt(2)->hasFocus(), forward);
    QCOMPARE(web->isVisible(), forward || !account);
    if (!account)
        QVERIFY(c<TabStrip>("TabParam")->isVisible());
}

void TestFrmMain::resultBoxChangeFocusesCip() {
    compteLocal(2, 9);
    m_window = ouvre();
    txt(0)->setFocus();
    // A reason of the 50 characters Pharma-ML allows is read whole, without a scroll bar.
    const QString raison = QStringLiteral("Rupture chez le fabricant, retour prévu en juillet");
    m_window->setTxtInfos(2, QStringLiteral("\r\nNON DISPONIBLE \r\n(%1)").arg(raison));
    QVERIFY(txt(2)->hasFocus());
    auto *box = c<QTextEdit>("txtInfos2");
    box->show();
    QVERIFY(!box->verticalScrollBar()->isVisible());
    QVERIFY(box->document()->size().height() <= box->viewport()->height());
}

void TestFrmMain::linkPointerBesideTheProgram() {
    m_window = ouvre();
    QCOMPARE(c<QLabel>("LabAdresse")->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(c<QLabel>("LabAdresse")->text(),
             QStringLiteral("127.0.0.1:%1").arg(QUrl(m_pages->base()).port()));
    m_window.reset();

    QVERIFY(QFile::copy(QStringLiteral(SOLVARIN_SOURCE_DIR "/ui/artwork/HandIE53232.ico"),
                        m_dir->filePath(QStringLiteral("HandIE53232.ico"))));
    m_window = ouvre();
    const QCursor pointer = c<QLabel>("LabAdresse")->cursor();
    QCOMPARE(pointer.shape(), Qt::BitmapCursor);
    QCOMPARE(pointer.hotSpot(), QPoint(11, 1));
}

void TestFrmMain::settingsFileMessages() {
    QString vue;
    repondra(vue, QMessageBox::Ok);
    montreErreurFichier(QStringLiteral("Ecriture Error"), QStringLiteral("Disk full\r61"));
    QCOMPARE(vue, QStringLiteral("Ecriture Error|Disk full\r61|%1|%2")
                      .arg(int(QMessageBox::Critical))
                      .arg(int(QMessageBox::Ok)));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
