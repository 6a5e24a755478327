#include "application.h"
#include "estnumerique.h"
#include "fichierini.h"
#include "frmmain.h"
#include "modskin.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include "ui/pageserver.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

const QString infos = QStringLiteral("Infos");

QString lire(const QString &key) {
    return FichierINI::LireIni(infos, key, QStringLiteral("<absent>"));
}
void ecrire(const QString &key, const QString &value) {
    FichierINI::EcrireIni(infos, key, value);
}

void compteComplet(int n, const QString &nom) {
    const QString s = QString::number(n);
    ecrire(QStringLiteral("NomRepart") + s, nom);
    ecrire(QStringLiteral("IdRepart") + s, QStringLiteral("23"));
    ecrire(QStringLiteral("CodeRepart") + s, QStringLiteral("CODE") + s);
    ecrire(QStringLiteral("URLRepart") + s, QStringLiteral("http://127.0.0.1:9/pml") + s);
    ecrire(QStringLiteral("NumeroCli") + s, QStringLiteral("09999") + s);
    ecrire(QStringLiteral("ClefCli") + s, QStringLiteral("CLEF") + s);
}

const QByteArray pageWithText = httpReply("<html><body><p>Bienvenue, Pharmacie du Centre</p></body></html>");
const QByteArray pageWithoutText = httpReply("<html><body></body></html>");

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startWithoutAccount();
    void startWithAccount2Only();
    void startWithBothAccounts();
    void windowShapeAndLayout();
    void clipboardNumbers_data();
    void clipboardNumbers();
    void clipboardAtStartUpAndActivation_data();
    void clipboardAtStartUpAndActivation();
    void tabClickWithIncompleteAccount();
    void settingsButtonShowsAndHidesThePanel();
    void fieldStoredOnLeaving_data();
    void fieldStoredOnLeaving();
    void cipFieldStoresNothing();
    void emptiedFieldStoredAtOnce();
    void wholesalerChosenFromTheList();
    void wholesalerNameShortenedOrPasted();
    void typedLettersRefusedInTheList();
    void completenessTogglesButtonAndHints();
    void pendingEditValidatedOnClosingThePanel();
    void pageWithTextBringsWebPaneForward();
    void pageWithoutTextLeavesEverything();
    void pageIgnoredWhileSettingsShown();
    void resultBoxChangeFocusesCip();
    void accessKeys();
    void linkPointerBesideTheProgram();
    void settingsFileMessages();

private:
    std::unique_ptr<frmMain> ouvre();
    template <typename T> T *control(const char *name) {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void leave(QWidget *field);
    void openPanelOnTab(int tab);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PageServer> m_pages;
    std::unique_ptr<frmMain> m_window;
};

void TestFrmMain::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    FichierINI::setRepertoireProgramme(m_dir->path());
    m_pages = std::make_unique<PageServer>(pageWithText);
    ecrire(QStringLiteral("URLEditeur"), m_pages->base());
    QGuiApplication::clipboard()->clear();
}

void TestFrmMain::cleanup() {
    m_window.reset();
    m_pages.reset();
}

std::unique_ptr<frmMain> TestFrmMain::ouvre() {
    auto w = std::make_unique<frmMain>(nullptr, Temporisation{10, 20});
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the window did not become active");
    return w;
}

void TestFrmMain::leave(QWidget *field) {
    QVERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(!field->hasFocus());
}

void TestFrmMain::openPanelOnTab(int tab) {
    auto *tabs = control<TabStrip>("TabParam");
    if (tabs->isHidden())
        QTest::mouseClick(control<TOVAButton>("cmdParam"), Qt::LeftButton);
    QVERIFY(!tabs->isHidden());
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tab - 1).center());
    QCOMPARE(m_window->NumRepartCourant(), tab);
}

void TestFrmMain::startWithoutAccount() {
    ecrire(QStringLiteral("AdrPharmacie"), QStringLiteral("Pharmacie du Centre"));
    ecrire(QStringLiteral("AdeliPharmacie"), QStringLiteral("751234567"));
    m_window = ouvre();
    QCOMPARE(m_window->NumRepartCourant(), 1);
    QCOMPARE(control<QLineEdit>("TxtDispo0")->text(), QStringLiteral("Pharmacie du Centre"));
    QCOMPARE(control<QLineEdit>("TxtDispo1")->text(), QStringLiteral("751234567"));
    QVERIFY(control<TOVAButton>("cmdDispo0")->isHidden());
    QVERIFY(control<TOVAButton>("cmdDispo1")->isHidden());
    QVERIFY(control<QLabel>("LabSansParam")->isVisible());
    QVERIFY(control<TabStrip>("TabParam")->isVisible());
    QVERIFY(control<QWidget>("PicParam")->isVisible());
    QVERIFY(control<QLabel>("LabDemandeInfos")->isHidden());
    // The web pane is shown, beneath the settings pane.
    auto *web = control<WebInfos>("WebInfos");
    QVERIFY(web->isVisible());
    QVERIFY(web->parentWidget()->children().indexOf(web) <
            web->parentWidget()->children().indexOf(control<QWidget>("PicParam")));
    QVERIFY(web->parentWidget()->children().indexOf(web) <
            web->parentWidget()->children().indexOf(control<TabStrip>("TabParam")));
    // The settings pane shows nothing of a file without accounts.
    QCOMPARE(control<QComboBox>("cboDispo")->currentText(), QString());
    QCOMPARE(control<QLineEdit>("TxtDispo5")->text(), QString());
    QTRY_VERIFY(web->documentCharge());
    QCOMPARE(m_pages->requests, (QList<QByteArray>{"GET /Infos.php?ADL=751234567 HTTP/1.1"}));
}

void TestFrmMain::startWithAccount2Only() {
    compteComplet(2, QStringLiteral("CERP ROUEN"));
    ecrire(QStringLiteral("NomRepart1"), QStringLiteral("PHOENIX"));
    m_window = ouvre();
    QVERIFY(control<TOVAButton>("cmdDispo0")->isHidden());
    auto *button = control<TOVAButton>("cmdDispo1");
    QVERIFY(button->isVisible());
    QCOMPARE(button->Caption(), QStringLiteral("Disponibilité CERP ROUEN"));
    QCOMPARE(m_window->NumRepartCourant(), 1);
    QVERIFY(control<QLabel>("LabSansParam")->isHidden());
    QVERIFY(control<TabStrip>("TabParam")->isHidden());
    QVERIFY(control<WebInfos>("WebInfos")->isVisible());
    // Account 2 is not loaded into the settings pane, and account 1 is not complete.
    QCOMPARE(control<QComboBox>("cboDispo")->currentText(), QString());
    for (int i = 3; i <= 7; ++i)
        QCOMPARE(control<QLineEdit>(QStringLiteral("TxtDispo%1").arg(i).toLatin1())->text(), QString());
    // With nothing to set up, the focus waits in the CIP field.
    QTRY_VERIFY(control<QLineEdit>("TxtDispo2")->hasFocus());
}

void TestFrmMain::startWithBothAccounts() {
    compteComplet(1, QStringLiteral("PHOENIX"));
    compteComplet(2, QStringLiteral("CERP ROUEN"));
    m_window = ouvre();
    QCOMPARE(control<TOVAButton>("cmdDispo0")->Caption(), QStringLiteral("Disponibilité PHOENIX"));
    QCOMPARE(control<TOVAButton>("cmdDispo1")->Caption(), QStringLiteral("Disponibilité CERP ROUEN"));
    QVERIFY(control<TOVAButton>("cmdDispo0")->isVisible());
    QVERIFY(control<TOVAButton>("cmdDispo1")->isVisible());
    QVERIFY(control<WebInfos>("WebInfos")->isVisible());
    QVERIFY(control<TabStrip>("TabParam")->isHidden());
    QVERIFY(control<QLabel>("LabSansParam")->isHidden());
    // The hidden settings pane holds account 1.
    QCOMPARE(control<QComboBox>("cboDispo")->currentText(), QStringLiteral("PHOENIX"));
    QCOMPARE(control<QLineEdit>("TxtDispo3")->text(), QStringLiteral("23"));
    QCOMPARE(control<QLineEdit>("TxtDispo4")->text(), QStringLiteral("CODE1"));
    QCOMPARE(control<QLineEdit>("TxtDispo5")->text(), QStringLiteral("http://127.0.0.1:9/pml1"));
    QCOMPARE(control<QLineEdit>("TxtDispo6")->text(), QStringLiteral("099991"));
    QCOMPARE(control<QLineEdit>("TxtDispo7")->text(), QStringLiteral("CLEF1"));
    QCOMPARE(control<QLineEdit>("TxtDispo7")->echoMode(), QLineEdit::Password);
    QCOMPARE(m_window->NumRepartCourant(), 1);
    // The buttons carry their stored properties.
    auto *dispo = control<TOVAButton>("cmdDispo0");
    QCOMPARE(dispo->ButtonType(), TOVAButton::KDE2);
    QCOMPARE(dispo->ColorScheme(), TOVAButton::Custom);
    QCOMPARE(dispo->BackColor(), 0x00E0E0E0u);
    QCOMPARE(dispo->MaskColor(), 0x00C0C0C0u);
    QCOMPARE(dispo->PictureNormal().size(), QSize(16, 16));
    QVERIFY(!dispo->ShowFocusRect());
    QVERIFY(control<TOVAButton>("cmdDispo1")->UseMaskColor());
    QCOMPARE(control<TOVAButton>("cmdParam")->Caption(), QStringLiteral("Paramètres"));
    QVERIFY(control<TOVAButton>("cmdParam")->PictureNormal().isNull());
}

void TestFrmMain::windowShapeAndLayout() {
    m_window = ouvre();
    QCOMPARE(m_window->size(), QSize(659, 363));
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("Disponibilité Pharma-ML par le module Ardevio (agréé Pharma-ML 1.0)"));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    const QRegion shape = modSkin::RegionDepuisImage(QImage(QStringLiteral(":/solvarin/skin.png")));
    QCOMPARE(m_window->mask(), shape);
    QVERIFY(!m_window->mask().contains(QPoint(0, 0)));
    QVERIFY(m_window->mask().contains(QPoint(330, 180)));
    QCOMPARE(control<QLabel>("Pic")->size(), QSize(666, 363));

    // Positions in twips / 15.
    QCOMPARE(control<QLineEdit>("TxtDispo0")->geometry(), QRect(131, 107, 172, 22));
    QCOMPARE(control<TOVAButton>("cmdDispo1")->geometry(), QRect(322, 170, 275, 21));
    QCOMPARE(control<QComboBox>("cboDispo")->geometry(), QRect(138, 0, 210, 22));
    QCOMPARE(control<QLineEdit>("TxtDispo1")->maxLength(), 9);
    QCOMPARE(control<QLineEdit>("TxtDispo2")->maxLength(), 7);
    QCOMPARE(control<QComboBox>("cboDispo")->count(), 17);
    QCOMPARE(control<QLabel>("LabAdresse")->toolTip(), QStringLiteral("Accès au site web"));

    // Two tabs in a strip 599 pixels wide are 297 pixels wide each.
    auto *tabs = control<TabStrip>("TabParam");
    QCOMPARE(tabs->width(), 599);
    QCOMPARE(tabs->tabWidth(), 297);

    // Tab order, hidden controls included.
    const QStringList expected{"TxtDispo0", "TxtDispo1", "TxtDispo2", "cmdDispo0", "cmdDispo1", "cboDispo",
                               "TxtDispo4", "TxtDispo5", "TxtDispo6", "TxtDispo7", "PicAide",   "cmdParam",
                               "TxtDispo3", "txtInfos2", "txtInfos1", "WebInfos",  "PicClose"};
    QStringList chain;
    QWidget *w = control<QLineEdit>("TxtDispo0");
    do {
        if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != control<QLineEdit>("TxtDispo0"));
    QCOMPARE(chain, expected);
}

void TestFrmMain::clipboardNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::newRow("seven digits") << "1234567" << true;
    QTest::newRow("decimal number of seven characters") << "12345.6" << true;
    QTest::newRow("signed") << "-123456" << true;
    QTest::newRow("exponent") << "1.5e+10" << true;
    QTest::newRow("six digits") << "123456" << false;
    QTest::newRow("eight digits") << "12345678" << false;
    QTest::newRow("letters") << "12345AB" << false;
    QTest::newRow("infinity") << "   -inf" << false;
    QTest::newRow("two points") << "12.34.5" << false;
    QTest::newRow("empty") << "" << false;
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
    QTest::newRow("12345678") << "12345678" << false;
}

void TestFrmMain::clipboardAtStartUpAndActivation() {
    QFETCH(QString, text);
    QFETCH(bool, taken);
    QGuiApplication::clipboard()->setText(text);
    {
        frmMain started(nullptr, Temporisation{10, 20});
        QCOMPARE(started.findChild<QLineEdit *>(QStringLiteral("TxtDispo2"))->text(),
                 taken ? text : QString());
    }
    // Copied after start-up and before the window is activated.
    QGuiApplication::clipboard()->clear();
    auto w = std::make_unique<frmMain>(nullptr, Temporisation{10, 20});
    auto *cip = w->findChild<QLineEdit *>(QStringLiteral("TxtDispo2"));
    QCOMPARE(cip->text(), QString());
    QGuiApplication::clipboard()->setText(text);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(cip->text(), taken ? text : QString());
}

void TestFrmMain::tabClickWithIncompleteAccount() {
    compteComplet(1, QStringLiteral("PHOENIX"));
    ecrire(QStringLiteral("NomRepart2"), QStringLiteral("ORP"));
    ecrire(QStringLiteral("CodeRepart2"), QStringLiteral("ORP-7"));
    m_window = ouvre();
    openPanelOnTab(2);
    QVERIFY(control<QLabel>("LabDemandeInfos")->isVisible());
    QCOMPARE(control<QComboBox>("cboDispo")->currentText(), QStringLiteral("ORP"));
    QCOMPARE(control<QLineEdit>("TxtDispo4")->text(), QStringLiteral("ORP-7"));
    QCOMPARE(control<QLineEdit>("TxtDispo5")->text(), QString());
    QCOMPARE(control<QLineEdit>("TxtDispo7")->text(), QString());

    // Back on the complete account: its settings and no hint.
    openPanelOnTab(1);
    QVERIFY(control<QLabel>("LabDemandeInfos")->isHidden());
    QCOMPARE(control<QLineEdit>("TxtDispo4")->text(), QStringLiteral("CODE1"));
}

void TestFrmMain::settingsButtonShowsAndHidesThePanel() {
    compteComplet(1, QStringLiteral("PHOENIX"));
    m_window = ouvre();
    auto *web = control<WebInfos>("WebInfos");
    QTRY_VERIFY(web->documentCharge());
    control<QTextEdit>("txtInfos1")->show();
    auto *param = control<TOVAButton>("cmdParam");

    QTest::mouseClick(param, Qt::LeftButton);
    QVERIFY(control<TabStrip>("TabParam")->isVisible());
    QVERIFY(control<QWidget>("PicParam")->isVisible());
    QVERIFY(web->isHidden());
    QVERIFY(control<QTextEdit>("txtInfos1")->isHidden());
    QVERIFY(control<QLabel>("LabRetour1")->isHidden());
    QVERIFY(control<QLabel>("LabRetour2")->isHidden());

    QTest::mouseClick(param, Qt::LeftButton);
    QVERIFY(control<TabStrip>("TabParam")->isHidden());
    QVERIFY(control<QWidget>("PicParam")->isHidden());
    QVERIFY(web->isVisible());
    // The page is fetched again.
    QTRY_COMPARE(m_pages->requests.size(), 2);
    // The result area stays hidden until the next query.
    QVERIFY(control<QLabel>("LabRetour1")->isHidden());
}

void TestFrmMain::fieldStoredOnLeaving_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::newRow("pharmacy name") << 0 << "AdrPharmacie"
                                   << "Pharmacie de la Gare";
    QTest::newRow("ADELI") << 1 << "AdeliPharmacie"
                           << "751234567";
    QTest::newRow("establishment code") << 4 << "CodeRepart2"
                                        << "ETS 42";
    QTest::newRow("URL") << 5 << "URLRepart2"
                         << "https://pml.example/ws";
    QTest::newRow("client identifier") << 6 << "NumeroCli2"
                                       << "0999908";
    QTest::newRow("secret key") << 7 << "ClefCli2"
                                << "4083 x";
}

void TestFrmMain::fieldStoredOnLeaving() {
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(QString, typed);
    m_window = ouvre();
    openPanelOnTab(2);
    auto *field = control<QLineEdit>(QStringLiteral("TxtDispo%1").arg(index).toLatin1());
    field->setFocus();
    QTest::keyClicks(field, typed);
    // Nothing is stored while the user is still in the field.
    QCOMPARE(lire(key), QStringLiteral("<absent>"));
    leave(field);
    QCOMPARE(lire(key), typed);
    // The other account is untouched.
    if (key.endsWith(u'2'))
        QCOMPARE(lire(key.chopped(1) + u'1'), QStringLiteral("<absent>"));
}

void TestFrmMain::cipFieldStoresNothing() {
    m_window = ouvre();
    auto *cip = control<QLineEdit>("TxtDispo2");
    cip->setFocus();
    QFile ini(m_dir->filePath(QStringLiteral("Solvarin.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    QTest::keyClicks(cip, QStringLiteral("3400934"));
    leave(cip);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
}

void TestFrmMain::emptiedFieldStoredAtOnce() {
    compteComplet(1, QStringLiteral("PHOENIX"));
    m_window = ouvre();
    openPanelOnTab(1);
    QVERIFY(control<TOVAButton>("cmdDispo0")->isVisible());
    auto *client = control<QLineEdit>("TxtDispo6");
    client->setFocus();
    client->selectAll();
    QTest::keyClick(client, Qt::Key_Backspace);
    QVERIFY(client->hasFocus());
    QCOMPARE(lire(QStringLiteral("NumeroCli1")), QString());
    QVERIFY(control<TOVAButton>("cmdDispo0")->isHidden());
    QVERIFY(control<QLabel>("LabDemandeInfos")->isVisible());
}

void TestFrmMain::wholesalerChosenFromTheList() {
    m_window = ouvre();
    openPanelOnTab(2);
    auto *list = control<QComboBox>("cboDispo");
    list->setFocus();
    list->setCurrentIndex(list->findText(QStringLiteral("PHOENIX")));
    QCOMPARE(lire(QStringLiteral("NomRepart2")), QStringLiteral("<absent>"));
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart2")), QStringLiteral("PHOENIX"));
    QCOMPARE(lire(QStringLiteral("IdRepart2")), QStringLiteral("23"));
    QCOMPARE(control<QLineEdit>("TxtDispo3")->text(), QStringLiteral("23"));
    QCOMPARE(lire(QStringLiteral("NomRepart1")), QStringLiteral("<absent>"));

    // First and last entries: 11 and 27.
    list->setFocus();
    list->setCurrentIndex(0);
    leave(list);
    QCOMPARE(lire(QStringLiteral("IdRepart2")), QStringLiteral("11"));
    list->setFocus();
    list->setCurrentIndex(16);
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart2")), QStringLiteral("ORP"));
    QCOMPARE(lire(QStringLiteral("IdRepart2")), QStringLiteral("27"));
}

void TestFrmMain::wholesalerNameShortenedOrPasted() {
    ecrire(QStringLiteral("NomRepart1"), QStringLiteral("PHOENIX"));
    ecrire(QStringLiteral("IdRepart1"), QStringLiteral("23"));
    m_window = ouvre();
    openPanelOnTab(1);
    auto *list = control<QComboBox>("cboDispo");
    QCOMPARE(list->currentText(), QStringLiteral("PHOENIX"));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Backspace);
    QCOMPARE(list->currentText(), QStringLiteral("PHOENI"));
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart1")), QStringLiteral("PHOENIX"));
    QCOMPARE(lire(QStringLiteral("IdRepart1")), QStringLiteral("23"));

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
    QCOMPARE(list->currentText(), QString());
    leave(list);
    QCOMPARE(lire(QStringLiteral("NomRepart1")), QStringLiteral("PHOENIX"));
    QCOMPARE(lire(QStringLiteral("IdRepart1")), QStringLiteral("23"));
}

void TestFrmMain::typedLettersRefusedInTheList() {
    m_window = ouvre();
    openPanelOnTab(1);
    auto *list = control<QComboBox>("cboDispo");
    list->setFocus();
    QTest::keyClicks(list, QStringLiteral("ORP"));
    QCOMPARE(list->currentText(), QString());
    // A blank is let through.
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(list->currentText(), QStringLiteral(" "));
}

void TestFrmMain::completenessTogglesButtonAndHints() {
    compteComplet(1, QStringLiteral("PHOENIX"));
    ecrire(QStringLiteral("ClefCli1"), QString());
    m_window = ouvre();
    QVERIFY(control<QLabel>("LabSansParam")->isVisible());
    QVERIFY(control<TOVAButton>("cmdDispo0")->isHidden());
    openPanelOnTab(1);
    QVERIFY(control<QLabel>("LabDemandeInfos")->isVisible());

    auto *key = control<QLineEdit>("TxtDispo7");
    key->setFocus();
    QTest::keyClicks(key, QStringLiteral("4083"));
    leave(key);
    auto *button = control<TOVAButton>("cmdDispo0");
    QVERIFY(button->isVisible());
    QCOMPARE(button->Caption(), QStringLiteral("Disponibilité PHOENIX"));
    QVERIFY(control<QLabel>("LabSansParam")->isHidden());
    QVERIFY(control<QLabel>("LabDemandeInfos")->isHidden());

    // Emptying a field hides the button again but does not bring the main pane's hint back.
    key->setFocus();
    key->selectAll();
    QTest::keyClick(key, Qt::Key_Delete);
    QVERIFY(button->isHidden());
    QVERIFY(control<QLabel>("LabDemandeInfos")->isVisible());
    QVERIFY(control<QLabel>("LabSansParam")->isHidden());

    // A new name is shown on the button only once some field is validated.
    QTest::keyClicks(key, QStringLiteral("4083"));
    leave(key);
    auto *list = control<QComboBox>("cboDispo");
    list->setFocus();
    list->setCurrentIndex(list->findText(QStringLiteral("ORP")));
    leave(list);
    QCOMPARE(button->Caption(), QStringLiteral("Disponibilité PHOENIX"));
    auto *code = control<QLineEdit>("TxtDispo4");
    code->setFocus();
    leave(code);
    QCOMPARE(button->Caption(), QStringLiteral("Disponibilité ORP"));
}

void TestFrmMain::pendingEditValidatedOnClosingThePanel() {
    m_window = ouvre();
    openPanelOnTab(1);
    auto *url = control<QLineEdit>("TxtDispo5");
    url->setFocus();
    QTest::keyClicks(url, QStringLiteral("https://pml.example"));
    m_window->ValideChampActif();
    QVERIFY(url->hasFocus());
    QCOMPARE(lire(QStringLiteral("URLRepart1")), QStringLiteral("https://pml.example"));

    QTest::keyClicks(url, QStringLiteral("/ws"));
    QTest::mouseClick(control<TOVAButton>("cmdParam"), Qt::LeftButton);
    QVERIFY(control<TabStrip>("TabParam")->isHidden());
    QCOMPARE(lire(QStringLiteral("URLRepart1")), QStringLiteral("https://pml.example/ws"));
}

void TestFrmMain::pageWithTextBringsWebPaneForward() {
    compteComplet(1, QStringLiteral("PHOENIX"));
    m_window = ouvre();
    auto *web = control<WebInfos>("WebInfos");
    QTRY_VERIFY(web->documentCharge());
    // As when a result is shown: the web pane hidden, the focus elsewhere.
    web->hide();
    control<QLineEdit>("TxtDispo0")->setFocus();
    web->refresh();
    QTRY_VERIFY(web->isVisible());
    QVERIFY(control<QLineEdit>("TxtDispo2")->hasFocus());
}

void TestFrmMain::pageWithoutTextLeavesEverything() {
    compteComplet(1, QStringLiteral("PHOENIX"));
    m_pages->setReply(pageWithoutText);
    m_window = ouvre();
    auto *web = control<WebInfos>("WebInfos");
    QTRY_VERIFY(web->documentCharge());
    web->hide();
    auto *name = control<QLineEdit>("TxtDispo0");
    name->setFocus();
    QSignalSpy done(web, &WebInfos::downloadComplete);
    web->refresh();
    QVERIFY(done.wait(5000));
    QTest::qWait(100);
    QVERIFY(web->isHidden());
    QVERIFY(name->hasFocus());
}

void TestFrmMain::pageIgnoredWhileSettingsShown() {
    m_window = ouvre();
    auto *name = control<QLineEdit>("TxtDispo0");
    name->setFocus();
    auto *web = control<WebInfos>("WebInfos");
    QTRY_VERIFY(web->documentCharge());
    QSignalSpy done(web, &WebInfos::downloadComplete);
    web->refresh();
    QVERIFY(done.wait(5000));
    QTest::qWait(100);
    QVERIFY(name->hasFocus());
    QVERIFY(control<TabStrip>("TabParam")->isVisible());
}

void TestFrmMain::resultBoxChangeFocusesCip() {
    compteComplet(2, QStringLiteral("ORP"));
    m_window = ouvre();
    control<QLineEdit>("TxtDispo0")->setFocus();
    control<QTextEdit>("txtInfos2")->setPlainText(QStringLiteral("\r\nDISPONIBLE"));
    QVERIFY(control<QLineEdit>("TxtDispo2")->hasFocus());
}

void TestFrmMain::accessKeys() {
    m_window = ouvre();
    QTest::keyClick(m_window.get(), Qt::Key_A, Qt::AltModifier);
    QVERIFY(control<QLineEdit>("TxtDispo1")->hasFocus());
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::AltModifier);
    QVERIFY(control<QLineEdit>("TxtDispo7")->hasFocus());
    QTest::keyClick(m_window.get(), Qt::Key_N, Qt::AltModifier);
    QVERIFY(control<QLineEdit>("TxtDispo0")->hasFocus());
}

void TestFrmMain::linkPointerBesideTheProgram() {
    m_window = ouvre();
    QCOMPARE(control<QLabel>("LabAdresse")->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(control<QLabel>("LabAdresse")->text(),
             QStringLiteral("127.0.0.1:%1").arg(QUrl(m_pages->base()).port()));
    m_window.reset();

    QVERIFY(QFile::copy(QStringLiteral(SOLVARIN_SOURCE_DIR "/ui/artwork/HandIE53232.ico"),
                        m_dir->filePath(QStringLiteral("HandIE53232.ico"))));
    m_window = ouvre();
    const QCursor pointer = control<QLabel>("LabAdresse")->cursor();
    QCOMPARE(pointer.shape(), Qt::BitmapCursor);
    QCOMPARE(pointer.pixmap().size(), QSize(32, 32));
    QCOMPARE(pointer.hotSpot(), QPoint(11, 1));
    // The program's icon holds its four sizes.
    const QList<QSize> sizes = QIcon(QStringLiteral(":/solvarin/solvarin.ico")).availableSizes();
    for (const int side : {16, 32, 48, 128})
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
}

void TestFrmMain::settingsFileMessages() {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->accept();
        }
    });
    montreErreurFichier(QStringLiteral("Ecriture Error"), QStringLiteral("Disk full\r61"));
    QCOMPARE(title, QStringLiteral("Ecriture Error"));
    QCOMPARE(text, QStringLiteral("Disk full\r61"));
    QCOMPARE(icon, QMessageBox::Critical);
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
