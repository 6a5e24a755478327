#include "clavier.h"
#include "simulateur.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include "ui/fenetreessai.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTimer>

using namespace FenetreEssai;
using namespace std::chrono_literals;

namespace {

const QString doliprane = QStringLiteral("3582910"); // available, three prices
const QColor vert(0, 255, 0), rouge(255, 0, 0), jaune(255, 255, 0), noir(0, 0, 0);

QColor fond(QTextEdit *box)
{
    return box->palette().color(QPalette::Base);
}
QColor encre(QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

class TestRequete : public QObject, public Banc {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void reponses_data();
    void reponses();
    void commandesDesactiveesPendantLEchange();
    void pageTardiveNeCouvrePasLaReponse();
    void compte2ApresCompte1();
    void controlesDeSaisie_data();
    void controlesDeSaisie();
    void entreeNeLancePasDeRequete_data();
    void entreeNeLancePasDeRequete();
    void f3SansCompte2();
    void f2SurBoutonCacheEnregistreLaSaisieDAbord();
    void premiereToucheEffaceLeResultat_data();
    void premiereToucheEffaceLeResultat();
    void chiffresSeulement_data();
    void chiffresSeulement();
    void caracteresTapes_data();
    void caracteresTapes();
    void fermetureDuranteLEchange();

private:
    // Types the code in the CIP field and presses the query command of that account.
    void interroge(int compte, const QString &code);
    int requetesRecues() const { return int(m_journal.filter(QStringLiteral("POST")).size()); }
    // The pharmacy and account 1 on the simulator, the window open and its web page loaded.
    void ouvreSurLeSimulateur(std::chrono::milliseconds attente = std::chrono::seconds(5))
    {
        pharmacie();
        compteLocal(1, m_sim->port());
        m_window = ouvre(attente);
        QTRY_VERIFY(c<WebInfos>("WebInfos")->documentCharge());
        QTest::qWait(50); // the page's text is read a moment later
    }

    std::unique_ptr<SimulateurPharmaML> m_sim;
    QStringList m_journal;
};

void TestRequete::init()
{
    prepare();
    m_sim = std::make_unique<SimulateurPharmaML>();
    QVERIFY(m_sim->ecoute());
    m_journal.clear();
    connect(m_sim.get(), &SimulateurPharmaML::journal, this, [this](const QString &l) { m_journal << l; });
}

void TestRequete::cleanup()
{
    m_window.reset();
    m_sim.reset();
    libere();
}

void TestRequete::interroge(int compte, const QString &code)
{
    txt(2)->setFocus();
    txt(2)->selectAll();
    QTest::keyClicks(txt(2), code);
    QCOMPARE(txt(2)->text(), code);
    QTest::mouseClick(c<TOVAButton>(QStringLiteral("cmdDispo%1").arg(compte - 1)), Qt::LeftButton);
}

void TestRequete::reponses_data()
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
    QTest::newRow("scanned CIP13") << produits << "DOLIPRANE 1000MG CPR B/8" << doliprane3 << "\nDISPONIBLE"
                                   << "3400935829108" << "EAN13";
    QTest::newRow("not available") << produits << "SPASFON LYOC 80MG B/10" << "Prix public TTC = 3.950"
                                   << "\nNON DISPONIBLE \n(Manque Rayon)" << "3153342" << "CIP39";
    QTest::newRow("credential refused")
        << int(OptionsSimulateur::Reponse::Refus401) << ""
        << "Retour HTTP incorrect ! (vérifier la clef secrète)" << "\nREQUETE EN ERREUR" << doliprane
        << "CIP39";
}

void TestRequete::reponses()
{
    QFETCH(int, reponse);
    QFETCH(QString, designation);
    QFETCH(QString, resultat);
    QFETCH(QString, dispo);
    QFETCH(QString, code);
    QFETCH(QString, codification);
    m_sim->options().reponse = OptionsSimulateur::Reponse(reponse);
    ouvreSurLeSimulateur();
    interroge(1, code);

    QCOMPARE(c<QLabel>("LabRetour0")->text(), designation);
    QCOMPARE(c<QLabel>("LabRetour1")->text(), resultat);
    QVERIFY(c<QLabel>("LabRetour1")->isVisible());
    QCOMPARE(encre(c<QLabel>("LabRetour1")), designation.isEmpty() ? rouge : noir);
    auto *box = c<QTextEdit>("txtInfos1");
    QVERIFY(box->isVisible());
    QCOMPARE(box->toPlainText(), dispo);
    QCOMPARE(fond(box), dispo == QLatin1String("\nDISPONIBLE") ? vert : rouge);
    QVERIFY(!box->verticalScrollBar()->isVisible());
    QVERIFY(c<QTextEdit>("txtInfos2")->isHidden());
    QVERIFY(c<WebInfos>("WebInfos")->isHidden());

    // One product, quantity 1.
    QCOMPARE(requetesRecues(), 1);
    const QString ligne = QStringLiteral("Type_Codification=\"%1\" Code_Produit=\"%2\" Quantite=\"1\"");
    QVERIFY(m_sim->dernierRecu().contains(ligne.arg(codification, code).toUtf8()));

    // Commands back, focus back in the CIP field, which keeps the code selected: the next one replaces it.
    for (const char *nom : {"cmdDispo0", "cmdDispo1", "cmdParam"})
        QVERIFY2(c<TOVAButton>(nom)->isEnabled(), nom);
    QVERIFY(txt(2)->hasFocus());
    QCOMPARE(txt(2)->selectedText(), code);
    QTest::keyClicks(txt(2), QStringLiteral("2756339"));
    QCOMPARE(txt(2)->text(), QStringLiteral("2756339"));
}

void TestRequete::commandesDesactiveesPendantLEchange()
{
    m_sim->options().delaiMs = 300;
    pharmacie();
    compteLocal(1, m_sim->port());
    compteLocal(2, m_sim->port(), QStringLiteral("123456"), QStringLiteral("CLEF9876"));
    m_window = ouvre();
    const QList<TOVAButton *> commandes{c<TOVAButton>("cmdDispo0"), c<TOVAButton>("cmdDispo1"),
                                        c<TOVAButton>("cmdParam")};
    auto *box = c<QTextEdit>("txtInfos2");
    // What the screen shows: the commands that answer, the box, its colour, the labels.
    const auto ecran = [&] {
        QString vu;
        for (auto *commande : commandes)
            vu += commande->isEnabled() ? u'1' : u'0';
        return vu + u'|' + box->toPlainText() + u'|' + fond(box).name() + u'|' +
               c<QLabel>("LabRetour0")->text() + c<QLabel>("LabRetour2")->text();
    };
    QString pendant;
    QTimer::singleShot(100, this, [&] {
        pendant = ecran();
        // Neither shortcut starts a second exchange meanwhile.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    });
    QElapsedTimer chrono;
    chrono.start();
    interroge(2, doliprane);
    QVERIFY(chrono.elapsed() >= 300);

    QCOMPARE(pendant, QStringLiteral("000|\nRequête envoyée|%1|").arg(jaune.name()));
    QCOMPARE(requetesRecues(), 1);
    QVERIFY(ecran().startsWith(QStringLiteral("111|\nDISPONIBLE|")));
    QVERIFY(txt(2)->hasFocus());
    QCOMPARE(m_window->NumRepartCourant(), 2);
}

void TestRequete::pageTardiveNeCouvrePasLaReponse()
{
    m_sim->options().delaiMs = 300;
    ouvreSurLeSimulateur();
    auto *web = c<WebInfos>("WebInfos");
    QSignalSpy pages(web, &WebInfos::downloadComplete);
    // The page arrives while the query waits, then again while its answer is shown.
    QTimer::singleShot(100, web, &WebInfos::refresh);
    interroge(1, doliprane);
    QCOMPARE(pages.size(), 1);
    QVERIFY(web->isHidden());
    web->refresh();
    QVERIFY(pages.wait(5000));
    QTest::qWait(100);
    QVERIFY(web->isHidden());
    QCOMPARE(c<QTextEdit>("txtInfos1")->toPlainText(), QStringLiteral("\nDISPONIBLE"));
    QVERIFY(c<QTextEdit>("txtInfos1")->isVisible());
}

void TestRequete::compte2ApresCompte1()
{
    pharmacie();
    compteLocal(1, m_sim->port());
    compteLocal(2, m_sim->port(), QStringLiteral("123456"), QStringLiteral("CLEF9876"));
    m_window = ouvre();
    interroge(1, doliprane);
    QCOMPARE(c<QTextEdit>("txtInfos1")->toPlainText(), QStringLiteral("\nDISPONIBLE"));

    // Same code, no key typed in between: the other account's answer stays on screen.
    m_sim->options().reponse = OptionsSimulateur::Reponse::Refus401;
    QTest::mouseClick(c<TOVAButton>("cmdDispo1"), Qt::LeftButton);
    QCOMPARE(m_window->NumRepartCourant(), 2);
    auto *box1 = c<QTextEdit>("txtInfos1");
    QVERIFY(box1->isVisible());
    QCOMPARE(box1->toPlainText(), QStringLiteral("\nDISPONIBLE"));
    QCOMPARE(fond(box1), vert);
    QCOMPARE(c<QLabel>("LabRetour1")->text().count(QStringLiteral("\r\n")), 2);
    QCOMPARE(c<QTextEdit>("txtInfos2")->toPlainText(), QStringLiteral("\nREQUETE EN ERREUR"));
    QCOMPARE(c<QLabel>("LabRetour2")->text(),
             QStringLiteral("Retour HTTP incorrect ! (vérifier la clef secrète)"));
    // The general label is emptied by every query.
    QCOMPARE(c<QLabel>("LabRetour0")->text(), QString());
}

void TestRequete::controlesDeSaisie_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("adeli");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("champ");

    const QString nom = QStringLiteral("Merci d'indiquer le nom (la raison sociale) de votre pharmacie !");
    QTest::newRow("all empty") << "" << "" << "" << nom << 0;
    QTest::newRow("no pharmacy name") << "" << "751234567" << doliprane << nom << 0;
    QTest::newRow("no ADELI") << "Pharmacie" << "" << ""
                              << "Merci d'indiquer votre numéro Adeli (ou numéro de pharmacien) !" << 1;
    QTest::newRow("no CIP") << "Pharmacie" << "751234567" << "" << "Merci d'indiquer un code CIP !" << 2;
    QTest::newRow("six digits") << "Pharmacie" << "751234567" << "358291"
                                << "Merci d'indiquer les 7 chiffres du code CIP !" << 2;
    const QString septOuTreize =
        QStringLiteral("Merci d'indiquer les 7 chiffres du code CIP ou les 13 chiffres du code CIP13 !");
    QTest::newRow("eight digits") << "Pharmacie" << "751234567" << "35829101" << septOuTreize << 2;
    QTest::newRow("twelve digits") << "Pharmacie" << "751234567" << "340093582910" << septOuTreize << 2;
    QTest::newRow("CIP13, wrong check digit") << "Pharmacie" << "751234567" << "3400935829107"
                                              << "Le code CIP13 est incorrect (clé de contrôle) !" << 2;
}

void TestRequete::controlesDeSaisie()
{
    QFETCH(QString, nom);
    QFETCH(QString, adeli);
    QFETCH(QString, code);
    QFETCH(QString, message);
    QFETCH(int, champ);
    compteLocal(1, m_sim->port());
    m_window = ouvre();
    c<QLineEdit>("TxtDispo0")->setText(nom);
    c<QLineEdit>("TxtDispo1")->setText(adeli);
    txt(2)->setText(code);
    c<TOVAButton>("cmdDispo0")->setFocus();
    QTest::mouseClick(c<TOVAButton>("cmdDispo0"), Qt::LeftButton);

    auto *general = c<QLabel>("LabRetour0");
    QCOMPARE(general->text(), message);
    QCOMPARE(encre(general), rouge);
    // Read whole, a long message on two lines.
    QVERIFY(general->heightForWidth(general->width()) <= general->height());
    QVERIFY(c<QLineEdit>(QStringLiteral("TxtDispo%1").arg(champ))->hasFocus());
    // Nothing is sent and the lower area is left as it was.
    QTest::qWait(50);
    QCOMPARE(requetesRecues(), 0);
    QVERIFY(c<QTextEdit>("txtInfos1")->isHidden());
    QVERIFY(c<WebInfos>("WebInfos")->isVisible());
}

void TestRequete::entreeNeLancePasDeRequete_data()
{
    QTest::addColumn<int>("touche");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Down arrow") << int(Qt::Key_Down);
}

void TestRequete::entreeNeLancePasDeRequete()
{
    QFETCH(int, touche);
    ouvreSurLeSimulateur();
    txt(2)->setFocus();
    QTest::keyClicks(txt(2), doliprane);
    QTest::keyClick(txt(2), Qt::Key(touche));
    // The focus moves on to the next control in tab order, the query command; nothing is asked.
    QTRY_VERIFY(c<TOVAButton>("cmdDispo0")->hasFocus());
    QTest::qWait(50);
    QCOMPARE(requetesRecues(), 0);
    QVERIFY(c<QTextEdit>("txtInfos1")->isHidden());
    QCOMPARE(txt(2)->text(), doliprane);
}

void TestRequete::f3SansCompte2()
{
    pharmacie();
    m_window = ouvre();
    txt(2)->setFocus();
    QTest::keyClicks(txt(2), doliprane);
    QTest::keyClick(txt(2), Qt::Key_F3);
    QCOMPARE(m_window->NumRepartCourant(), 2);
    QCOMPARE(c<QLabel>("LabRetour2")->text(),
             QStringLiteral("Merci de vérifier l'adresse URL du répartiteur !"));
    QCOMPARE(c<QTextEdit>("txtInfos2")->toPlainText(), QStringLiteral("\nREQUETE EN ERREUR"));
    QCOMPARE(requetesRecues(), 0);
}

void TestRequete::f2SurBoutonCacheEnregistreLaSaisieDAbord()
{
    ecrire(QStringLiteral("AdeliPharmacie"), QStringLiteral("751234567"));
    compteLocal(1, m_sim->port());
    ecrire(QStringLiteral("NomRepart1"), QString());
    m_window = ouvre();
    QVERIFY(c<TOVAButton>("cmdDispo0")->isHidden());
    txt(2)->setText(doliprane);
    txt(0)->setFocus();
    QTest::keyClicks(txt(0), QStringLiteral("Pharmacie de la Gare"));
    QCOMPARE(lire(QStringLiteral("AdrPharmacie")), QStringLiteral("<absent>"));
    // The name being typed is stored before the query reads it for the request's sender.
    QTest::keyClick(txt(0), Qt::Key_F2);
    QCOMPARE(lire(QStringLiteral("AdrPharmacie")), QStringLiteral("Pharmacie de la Gare"));
    QCOMPARE(requetesRecues(), 1);
    QVERIFY(m_sim->dernierRecu().contains("Pharmacie de la Gare"));
    QCOMPARE(m_window->NumRepartCourant(), 1);
    QCOMPARE(c<QTextEdit>("txtInfos1")->toPlainText(), QStringLiteral("\nDISPONIBLE"));
    // The key then reaches the field, which has nothing to do with it.
    QCOMPARE(txt(0)->text(), QStringLiteral("Pharmacie de la Gare"));
}

void TestRequete::premiereToucheEffaceLeResultat_data()
{
    QTest::addColumn<int>("touche");
    QTest::addColumn<QString>("reste");
    QTest::newRow("letter, dropped") << int(Qt::Key_X) << doliprane;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << doliprane.chopped(1);
    QTest::newRow("Enter") << int(Qt::Key_Return) << doliprane;
}

void TestRequete::premiereToucheEffaceLeResultat()
{
    QFETCH(int, touche);
    QFETCH(QString, reste);
    ouvreSurLeSimulateur();
    auto *web = c<WebInfos>("WebInfos");
    interroge(1, doliprane);
    QVERIFY(web->isHidden());
    const int pages = int(m_pages->requests.size());

    // A bare key (an arrow) types nothing and leaves the answer.
    QTest::keyClick(txt(2), Qt::Key_Left);
    QVERIFY(c<QTextEdit>("txtInfos1")->isVisible());
    QTest::keyClick(txt(2), Qt::Key_End);

    QTest::keyClick(txt(2), Qt::Key(touche));
    QVERIFY(c<QTextEdit>("txtInfos1")->isHidden());
    QVERIFY(c<QTextEdit>("txtInfos2")->isHidden());
    for (int i = 0; i <= 2; ++i)
        QCOMPARE(c<QLabel>(QStringLiteral("LabRetour%1").arg(i))->text(), QString());
    QVERIFY(web->isVisible());
    QCOMPARE(txt(2)->text(), reste);
    // The page is fetched again.
    QTRY_COMPARE(int(m_pages->requests.size()), pages + 1);
}

void TestRequete::chiffresSeulement_data()
{
    QTest::addColumn<int>("champ");
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("garde");
    QTest::newRow("ADELI") << 1 << "75a12-34 5.6" << "75123456";
    QTest::newRow("CIP") << 2 << "3a5=8+29" << "35829";
    QTest::newRow("CIP, a fourteenth digit") << 2 << "34009358291081" << "3400935829108";
    QTest::newRow("pharmacy name") << 0 << "Pharmacie 2" << "Pharmacie 2";
    QTest::newRow("establishment code") << 4 << "ETS-42" << "ETS-42";
}

void TestRequete::chiffresSeulement()
{
    QFETCH(int, champ);
    QFETCH(QString, tape);
    QFETCH(QString, garde);
    m_window = ouvre();
    auto *field = c<QLineEdit>(QStringLiteral("TxtDispo%1").arg(champ));
    if (champ >= 3)
        QTest::mouseClick(c<TOVAButton>("cmdParam"), Qt::LeftButton);
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, tape);
    QCOMPARE(field->text(), garde);
    // Nor does Alt with a letter that is no access key, in the digit fields.
    for (const Qt::Key lettre : {Qt::Key_P, Qt::Key_Z, Qt::Key_X}) {
        if (champ == 1 || champ == 2)
            QTest::keyClick(field, lettre, Qt::AltModifier);
    }
    QCOMPARE(field->text(), garde);

    // Pasted text is not filtered, only cut to the field's length; Ctrl+A selects all.
    QGuiApplication::clipboard()->setText(QStringLiteral("AB"));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), (garde + QStringLiteral("AB")).left(field->maxLength()));
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(field->selectedText(), field->text());
}

void TestRequete::caracteresTapes_data()
{
    QTest::addColumn<int>("touche");
    QTest::addColumn<int>("modificateurs");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("code"); // -1: no character
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << "7" << int('7');
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << int('a');
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << 13;
    QTest::newRow("Ctrl+C, X11 text") << int(Qt::Key_C) << int(Qt::ControlModifier) << "\x03" << 3;
    QTest::newRow("Ctrl+V, no text") << int(Qt::Key_V) << int(Qt::ControlModifier) << "" << 22;
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier) << "x" << 24;
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << "a" << 1;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << "\t" << -1;
    QTest::newRow("arrow") << int(Qt::Key_Down) << 0 << "" << -1;
    QTest::newRow("F2") << int(Qt::Key_F2) << 0 << "" << -1;
    QTest::newRow("Alt+N") << int(Qt::Key_N) << int(Qt::AltModifier) << "n" << -1;
}

void TestRequete::caracteresTapes()
{
    QFETCH(int, touche);
    QFETCH(int, modificateurs);
    QFETCH(QString, texte);
    QFETCH(int, code);
    const QKeyEvent event(QEvent::KeyPress, touche, Qt::KeyboardModifiers(modificateurs), texte);
    const std::optional<int> lu = Clavier::caractere(event);
    QCOMPARE(lu.value_or(-1), code);
    if (!lu)
        return;
    // The digit fields keep digits, backspace, copy, paste and cut; the other fields keep all.
    const bool garde =
        (code >= '0' && code <= '9') || code == 8 || code == 1 || code == 3 || code == 22 || code == 24;
    QCOMPARE(Clavier::caractereRefuse(1, code), !garde);
    QCOMPARE(Clavier::caractereRefuse(2, code), !garde);
    QVERIFY(!Clavier::caractereRefuse(0, code));
    QVERIFY(!Clavier::caractereRefuse(5, code));
}

void TestRequete::fermetureDuranteLEchange()
{
    m_sim->options().sansFin = true;
    ouvreSurLeSimulateur(20s);
    QTimer::singleShot(200, this,
                       [this] { QTest::mouseClick(c<QLabel>("PicClose"), Qt::LeftButton); });
    QElapsedTimer chrono;
    chrono.start();
    interroge(1, doliprane);
    // The window goes at once, and with it the exchange's wait.
    QVERIFY2(chrono.elapsed() < 5000, qPrintable(QString::number(chrono.elapsed())));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(requetesRecues(), 1);
}

QTEST_MAIN(TestRequete)
#include "tst_requete.moc"
