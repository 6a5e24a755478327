#include "bandeausurveillance.h"
#include "basesurveillance.h"
#include "frmhistorique.h"
#include "frmliste.h"
#include "frmsurveillance.h"
#include "historique.h"
#include "simulateur.h"
#include "surveillance.h"
#include "tovabutton.h"
#include "webinfos.h"

#include "ui/fenetreessai.h"

#include <QDate>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

using namespace FenetreEssai;
using namespace std::chrono_literals;

namespace {

const QString doliprane = QStringLiteral("3582910"); // available, three prices
const QColor vert(0, 255, 0), rouge(255, 0, 0), jaune(255, 255, 0), noir(0, 0, 0);

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
    SimulateurPharmaML m_cerp; // account 2's wholesaler when it is not m_sim; prices at 120 %
    int m_requetesCerp = 0;
    FrmListe *m_liste = nullptr; // the list window last opened with F4

    static QColor fond(QTextEdit *boite) { return boite->palette().color(QPalette::Base); }
    static QColor encre(QLabel *label) { return label->palette().color(QPalette::WindowText); }

    // Types the code in the CIP field, presses the query command of that account and waits for the answer.
    void interroge(int compte, const QString &code)
    {
        txt(2)->setFocus();
        txt(2)->selectAll();
        QTest::keyClicks(txt(2), code);
        QTest::mouseClick(c<TOVAButton>(QStringLiteral("cmdDispo%1").arg(compte - 1)), Qt::LeftButton);
        QTRY_VERIFY(c<TOVAButton>("cmdParam")->isEnabled());
    }
    // Types as a scanner does: the group separator as the byte 0x1D, "|" as Ctrl+].
    void tape(const QString &scan)
    {
        for (const QChar ch : scan) {
            QWidget *champ = QApplication::focusWidget();
            if (ch == QChar(0x1D))
                QTest::sendKeyEvent(QTest::Press, champ, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            else if (ch == u'|')
                QTest::keyClick(champ, Qt::Key_BracketRight, Qt::ControlModifier);
            else
                QTest::keyClick(champ, ch.toLatin1());
        }
    }
    // Each Pharma-ML request received: "client:code:REF_MESSAGE:Ref_Req_Info_Produit".
    QStringList m_requetes;
    QString infos(int n) { return c<QTextEdit>(QStringLiteral("txtInfos%1").arg(n))->toPlainText(); }
    // Account 1 (and 2, on `second`) on the simulator; the window open, its page read, focus in the CIP
    // field.
    void ouvreSurLeSimulateur(SimulateurPharmaML *second = nullptr)
    {
        pharmacie();
        compteLocal(1, m_sim.port());
        if (second)
            compteLocal(2, second->port(), QStringLiteral("123456"), QStringLiteral("CLEF9876"));
        ouvre(20s);
        QTRY_VERIFY(c<WebInfos>("WebInfos")->documentCharge() && txt(2)->hasFocus());
    }
    // F4 from where the focus is: the list window, active, its model checked as long as it lives.
    void ouvreListe()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        m_liste = m_window->findChild<FrmListe *>();
        QVERIFY(m_liste);
        QTRY_COMPARE(QApplication::activeWindow(), m_liste);
        verifieModele(m_liste->findChild<QTableView *>("table")->model());
    }
    // The file the window exports to, read back.
    template <typename Fenetre> QByteArray exporte(Fenetre *fenetre)
    {
        const QString chemin = m_dir->filePath("export.csv");
        QFile fichier(chemin);
        return fenetre->exporte(chemin) && fichier.open(QIODevice::ReadOnly) ? fichier.readAll()
                                                                             : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sim.ecoute() && m_cerp.ecoute());
        connect(&m_cerp, &SimulateurPharmaML::requeteRecue, this, [this] { ++m_requetesCerp; });
        connect(&m_sim, &SimulateurPharmaML::requeteRecue, this, [this](const QByteArray &corps) {
            static const QRegularExpression champs(QStringLiteral(
                "Id_Client=\"(\\w+)\".*Ref_Req_Info_Produit=\"([^\"]*)\".*Code_Produit=\"(\\d+)\""));
            static const QRegularExpression ref(QStringLiteral("<REF_MESSAGE>([^<]*)<"));
            const QString texte = QString::fromUtf8(corps);
            const QRegularExpressionMatch m = champs.match(texte);
            m_requetes << QStringList{m.captured(1), m.captured(3), ref.match(texte).captured(1),
                                      m.captured(2)}
                              .join(u':');
        });
    }
    void init()
    {
        prepare();
        m_sim.options() = OptionsSimulateur();
        m_cerp.options() = OptionsSimulateur();
        m_cerp.options().pourcentPrix = 120;
        m_requetesCerp = 0;
        m_requetes.clear();
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
        const QString nom = "DOLIPRANE 1000MG CPR B/8", dispo = "\nDISPONIBLE";
        const QString prix =
            "Prix d'achat HT hors remise = 1.570\r\nPrix achat HT = 1.490\r\nPrix public TTC = 2.180";
        QTest::newRow("available") << produits << nom << prix << dispo << doliprane << "CIP39";
        QTest::newRow("scanned CIP13") << produits << nom << prix << dispo << "3400935829108"
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
        QFETCH(QString, code);
        QFETCH(QString, codification);
        m_sim.options().reponse = OptionsSimulateur::Reponse(reponse);
        ouvreSurLeSimulateur();
        interroge(1, code);

        QTEST(c<QLabel>("LabRetour0")->text(), "designation");
        QTEST(c<QLabel>("LabRetour1")->text(), "resultat");
        QCOMPARE(encre(c<QLabel>("LabRetour1")), c<QLabel>("LabRetour0")->text().isEmpty() ? rouge : noir);
        QCOMPARE(visibles({"LabRetour1", "txtInfos1", "txtInfos2", "WebInfos"}),
                 QStringLiteral("LabRetour1 txtInfos1"));
        QTEST(infos(1), "dispo");
        QCOMPARE(fond(c<QTextEdit>("txtInfos1")), infos(1) == u"\nDISPONIBLE" ? vert : rouge);
        QCOMPARE(m_requetes.size(), 1);
        const QString ligne = QStringLiteral("Type_Codification=\"%1\" Code_Produit=\"%2\" Quantite=\"1\"");
        QVERIFY(m_sim.dernierRecu().contains(ligne.arg(codification, code).toUtf8()));
        // Focus back in the CIP field, which keeps the code selected: the next one typed replaces it.
        QVERIFY(txt(2)->hasFocus());
        QCOMPARE(txt(2)->selectedText(), code);
    }

    // When and instead, below the prices; the replacement's code, a link (or F7), asks both accounts.
    void remplacant()
    {
        ouvreSurLeSimulateur(&m_sim);
        interroge(1, QStringLiteral("3433729"));
        const QString date = QDate::currentDate().addDays(2).toString(QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(m_window->LabRetour(1),
                 "Prix achat HT = 20.100\r\nPrix d'achat HT hors remise = 20.100\r\nDisponible à partir du " +
                     date +
                     "\r\nRemplacé par : 4052199274713 SLIP MOLICARE PREM FIX EXL 3 (remplaçant livré)\r\n"
                     "Prix achat HT = 7.240\r\nPrix d'achat HT hors remise = 7.240\r\n"
                     "Remplace par le nouveau conditionnement");
        // The AUTRE box keeps its colour and its price lines.
        QCOMPARE(fond(c<QTextEdit>("txtInfos1")), rouge);

        interroge(1, QStringLiteral("3010284"));
        auto *label = c<QLabel>("LabRetour1");
        QCOMPARE(label->textFormat(), Qt::RichText);
        QVERIFY(label->text().contains(QStringLiteral("<a href=\"remplacant\">3400935829108</a>")));
        QCOMPARE(m_requetes.size(), 2);
        QTest::keyClick(txt(2), Qt::Key_F7);
        QCOMPARE(txt(2)->text(), QStringLiteral("3400935829108"));
        QTRY_COMPARE(m_requetes.size(), 4);
        interroge(1, QStringLiteral("3010284"));
        emit label->linkActivated(QStringLiteral("remplacant"));
        QCOMPARE(txt(2)->text(), QStringLiteral("3400935829108"));
        QTRY_COMPARE(m_requetes.size(), 7);
        QTRY_COMPARE(infos(1) + infos(2), QStringLiteral("\nDISPONIBLE\nDISPONIBLE"));
        // No replacement on screen any more: F7 asks nothing.
        QCOMPARE(c<QLabel>("LabRetour2")->textFormat(), Qt::PlainText);
        QTest::keyClick(txt(2), Qt::Key_F7);
        QTest::qWait(50); // time for a request that should not come
        QCOMPARE(m_requetes.size(), 7);
    }

    // A scanner types each code and Enter, one box after another, faster than the wholesalers answer.
    void scansALaSuite()
    {
        m_sim.options().delaiMs = 300;
        ouvreSurLeSimulateur(&m_sim);
        const QString boite = QStringLiteral("]d201034009358291081728123110LOT42\u001D21SN7");
        for (const QString &scan : {doliprane, QStringLiteral("2756339"), QStringLiteral("3153342"), boite}) {
            tape(scan);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            // The code asked stays selected: the next scan replaces it whole.
            QCOMPARE(txt(2)->selectedText(), txt(2)->text());
        }
        // F4 opens no list while answers are awaited.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        QVERIFY(!m_window->findChild<FrmListe *>());
        QTRY_VERIFY(c<TOVAButton>("cmdParam")->isEnabled());

        // Every code asked at both accounts; the last one's answers on screen, with the code they answer.
        QStringList demandes;
        for (const QString &r : std::as_const(m_requetes))
            demandes << r.section(u':', 0, 1);
        demandes.sort();
        QCOMPARE(demandes, (QStringList{"0999908:2756339", "0999908:3153342", "0999908:3400935829108",
                                        "0999908:3582910", "123456:2756339", "123456:3153342",
                                        "123456:3400935829108", "123456:3582910"}));
        QCOMPARE(infos(1) + infos(2), QStringLiteral("\nDISPONIBLE\nDISPONIBLE"));
        QCOMPARE(m_window->LabRetour(0), QStringLiteral("DOLIPRANE 1000MG CPR B/8"));
        QCOMPARE(c<QLabel>("LabCode2")->text(), QStringLiteral("3400935829108 · Exp. 31/12/2028"));
        QCOMPARE(visibles({"LabCode1", "LabCode2", "txtInfos1", "txtInfos2", "WebInfos"}),
                 QStringLiteral("LabCode1 LabCode2 txtInfos1 txtInfos2"));
        QCOMPARE(txt(2)->selectedText(), QStringLiteral("3400935829108"));

        // Within one second an account's messages carry references of their own, the body's the same.
        static const QRegularExpression forme(QStringLiteral(R"(^\d{14}(-[2-9]|-\d\d+)?$)"));
        for (const QString client : {"0999908", "123456"}) {
            QStringList refs = m_requetes.filter(QRegularExpression(u'^' + client + u':'));
            for (QString &r : refs) {
                QCOMPARE(r.section(u':', 2, 2), r.section(u':', 3, 3));
                r = r.section(u':', 2, 2);
                QVERIFY2(forme.match(r).hasMatch(), qPrintable(r));
            }
            QCOMPARE(refs.removeDuplicates(), 0);
        }
    }

    void codesScannes_data()
    {
        QTest::addColumn<QString>("scan"); // "|" is Ctrl+]; a text ending with a line break is pasted
        QTest::addColumn<QString>("cip");  // the field's text after Enter
        QTest::addColumn<QString>("code"); // above the box
        QTest::addColumn<QString>("message");
        const QString doliprane13 = "3400935829108", designation = "DOLIPRANE 1000MG CPR B/8";
        QTest::newRow("Data Matrix, Ctrl+] as separator")
            << "]d201034009358291081728123110LOT42|21SN7" << doliprane13 << "3400935829108 · Exp. 31/12/2028"
            << designation;
        QTest::newRow("printed form, expired")
            << "(01)03400935829108(17)200100(10)L1" << doliprane13
            << "3400935829108 · <span style=\"color:#FF0000\">Exp. 31/01/2020 Périmé</span>" << designation;
        QTest::newRow("no AI 01") << "1728123110LOT42"
                                  << "1728123110LOT42"
                                  << ""
                                  << "Code 2D non reconnu : pas de code CIP13 !";
        QTest::newRow("first 13 characters of a 2D code")
            << "0103400935829"
            << "0103400935829"
            << ""
            << "Le code CIP13 est incorrect (clé de contrôle) !";
        QTest::newRow("pasted as printed under the barcode") << "3 400935 829108\n"
                                                             << doliprane13 << doliprane13 << designation;
    }
    void codesScannes()
    {
        QFETCH(QString, scan);
        QFETCH(QString, code);
        ouvreSurLeSimulateur();
        QWidget *champ = txt(2);
        QGuiApplication::clipboard()->setText(scan);
        if (scan.endsWith(u'\n'))
            QTest::keyClick(champ, Qt::Key_V, Qt::ControlModifier);
        else
            tape(scan);
        QTest::keyClick(champ, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_VERIFY(c<TOVAButton>("cmdParam")->isEnabled());
        QTEST(txt(2)->text(), "cip");
        QTEST(m_window->LabRetour(0), "message");
        QCOMPARE(m_requetes.size(), code.isEmpty() ? 0 : 1);
        QCOMPARE(c<QLabel>("LabCode1")->text(), code);
        // Refused or asked, the text is selected: the next scan replaces it and is asked.
        QTEST(txt(2)->selectedText(), "cip");
        QTest::keyClicks(champ, "2756339");
        QTest::keyClick(champ, Qt::Key_Return);
        QTRY_COMPARE(infos(1), QStringLiteral("\nDISPONIBLE"));
        QCOMPARE(c<QLabel>("LabCode1")->text(), QStringLiteral("2756339"));
        QCOMPARE(m_requetes.size(), code.isEmpty() ? 1 : 2);
    }

    // Escape stops the queries under way; a reply that comes later is not shown.
    void echapAnnule()
    {
        m_sim.options().delaiMs = 300;
        ouvreSurLeSimulateur(&m_sim);
        QTest::keyClicks(txt(2), doliprane);
        QTest::keyClick(txt(2), Qt::Key_Return);
        QTRY_COMPARE(m_requetes.size(), 2);
        QVERIFY(!c<TOVAButton>("cmdDispo0")->isEnabled());
        QTest::keyClick(txt(2), Qt::Key_Escape);
        for (const QString boite : {"txtInfos1", "txtInfos2"}) {
            QCOMPARE(c<QTextEdit>(boite)->toPlainText(), QStringLiteral("\nRequête annulée"));
            QCOMPARE(fond(c<QTextEdit>(boite)), QColor(192, 192, 192));
        }
        QVERIFY(c<TOVAButton>("cmdDispo0")->isEnabled() && c<TOVAButton>("cmdParam")->isEnabled());
        QCOMPARE(txt(2)->selectedText(), doliprane);
        QTest::qWait(400); // past the reply, which must not be shown
        QCOMPARE(infos(1), QStringLiteral("\nRequête annulée"));
        // Outside a query Escape is the first key typed after an answer: it clears it.
        QTest::keyClick(txt(2), Qt::Key_Escape);
        QCOMPARE(visibles({"txtInfos1", "WebInfos"}), QStringLiteral("WebInfos"));

        // Closed during an exchange that never ends, the window goes at once, and with it the exchange.
        m_sim.options().sansFin = true;
        txt(2)->setText(doliprane);
        QTest::keyClick(txt(2), Qt::Key_F2);
        QTRY_COMPARE(m_requetes.size(), 3);
        QTest::mouseClick(c<QLabel>("PicClose"), Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
        m_window.reset();
        QTest::qWait(50); // what the closed exchange left pending runs here, and must find nothing gone
    }

    // Each query key asks its own account, however the keys are queued; each answer lands in its place.
    void touchesEnFile_data()
    {
        QTest::addColumn<bool>("ensemble");
        QTest::newRow("F2 and F3 already queued") << true;
        QTest::newRow("F3 while F2's query is under way") << false;
    }
    void touchesEnFile()
    {
        QFETCH(bool, ensemble);
        m_sim.options().delaiMs = 200;
        ouvreSurLeSimulateur(&m_cerp);
        txt(2)->setText(doliprane);
        QWidget *focus = QApplication::focusWidget();
        if (ensemble) {
            for (const Qt::Key touche : {Qt::Key_F2, Qt::Key_F3}) {
                QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyPress, touche, Qt::NoModifier));
                QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyRelease, touche, Qt::NoModifier));
            }
        } else {
            QTest::keyClick(focus, Qt::Key_F2);
            QTRY_COMPARE(m_requetes.size(), 1);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
        }
        QTRY_VERIFY(!c<TOVAButton>("cmdParam")->isEnabled());
        QTRY_VERIFY(c<TOVAButton>("cmdParam")->isEnabled());
        QVERIFY(m_window->LabRetour(1).startsWith(QStringLiteral("Prix d'achat HT hors remise = 1.570")));
        QVERIFY(m_window->LabRetour(2).startsWith(QStringLiteral("Prix d'achat HT hors remise = 1.884")));
        QCOMPARE(infos(1) + infos(2), QStringLiteral("\nDISPONIBLE\nDISPONIBLE"));
        // Space or Enter on a command that has the focus presses it.
        for (const Qt::Key touche : {Qt::Key_Space, Qt::Key_Return}) {
            c<TOVAButton>("cmdDispo1")->setFocus();
            QTest::keyClick(c<TOVAButton>("cmdDispo1"), touche);
            QTRY_VERIFY(c<TOVAButton>("cmdParam")->isEnabled());
        }
        QCOMPARE(m_requetes.size(), 1);
        QCOMPARE(m_requetesCerp, 3);
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
        QTest::newRow("CIP13, wrong check digit")
            << cip("3400935829107") << "Le code CIP13 est incorrect (clé de contrôle) !" << 2;
        QTest::newRow("2D code of more than 100 characters")
            << cip(qPrintable("010340093582910810" + QString(90, u'A')))
            << "Code 2D non reconnu : plus de 100 caractères !" << 2;
        QTest::newRow("letters pasted") << cip("35829l0") << septOuTreize << 2;
    }
    void controlesDeSaisie()
    {
        QFETCH(QStringList, saisie);
        QFETCH(int, champ);
        compteLocal(1, m_sim.port());
        ouvre();
        for (int i = 0; i < 3; ++i)
            txt(i)->setText(saisie[i]);
        c<TOVAButton>("cmdDispo0")->setFocus();
        QTest::mouseClick(c<TOVAButton>("cmdDispo0"), Qt::LeftButton);
        auto *general = c<QLabel>("LabRetour0");
        QTEST(general->text(), "message");
        QCOMPARE(encre(general), rouge);
        QVERIFY(general->heightForWidth(general->width()) <= general->height()); // a long one on two lines
        QVERIFY(txt(champ)->hasFocus());
        QCOMPARE(txt(champ)->selectedText(), txt(champ)->text());
        // Nothing is sent (a request would reach the simulator within the wait), the lower area is as it was.
        QTest::qWait(50);
        QCOMPARE(m_requetes.size(), 0);
        QCOMPARE(visibles({"txtInfos1", "WebInfos"}), QStringLiteral("WebInfos"));
    }

    void saisiePuisF2()
    {
        compteLocal(1, m_sim.port());
        ecrire("NomRepart1", QString());
        ouvre();
        QVERIFY(c<TOVAButton>("cmdDispo0")->isHidden());
        txt(2)->setText(doliprane);
        // The ADELI field keeps digits; Alt with a letter that is no access key types nothing.
        auto *adeli = txt(1);
        adeli->setFocus();
        QTest::keyClicks(adeli, "75a12-34 5.6");
        for (const Qt::Key lettre : {Qt::Key_P, Qt::Key_Z, Qt::Key_X})
            QTest::keyClick(adeli, lettre, Qt::AltModifier);
        QCOMPARE(adeli->text(), QStringLiteral("75123456"));
        // Select all, cut and paste pass; pasted text is not filtered, only cut to the field's length.
        QTest::keyClick(adeli, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(adeli, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(adeli->text() + QGuiApplication::clipboard()->text(), QStringLiteral("75123456"));
        QGuiApplication::clipboard()->setText("7512345AB6");
        QTest::keyClick(adeli, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(adeli->text(), QStringLiteral("7512345AB"));
        // F2 asks account 1, its button hidden or not, once the name being typed is stored for the sender.
        txt(0)->setFocus();
        QTest::keyClicks(txt(0), "Pharmacie de la Gare");
        QTest::keyClick(txt(0), Qt::Key_F2);
        QTRY_VERIFY(c<TOVAButton>("cmdParam")->isEnabled());
        QCOMPARE(lire("AdrPharmacie"), QStringLiteral("Pharmacie de la Gare"));
        QVERIFY(m_sim.dernierRecu().contains("Pharmacie de la Gare"));
        QCOMPARE(m_window->NumRepartCourant(), 1);
        QCOMPARE(infos(1), QStringLiteral("\nDISPONIBLE"));
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
        QTEST(txt(2)->text(), "reste");
        QTRY_COMPARE(m_pages->requests.size(), pages + 1); // the page is fetched again
    }

    // Products handed to the watch from the counter and the list window, its window, and the banner.
    void surveillance()
    {
        ouvreSurLeSimulateur(&m_sim);
        Surveillance &surveillance = m_window->surveillance();
        const auto codes = [&surveillance] {
            QStringList liste;
            for (const ProduitSurveille &p :
                 surveillance.base()->produits().value_or(QList<ProduitSurveille>()))
                liste << p.code + u' ' + p.designation;
            return liste;
        };
        interroge(1, QStringLiteral("3153342"));
        QTest::keyClick(txt(2), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(codes(), QStringList{"3153342 SPASFON LYOC 80MG B/10"});

        // The list's products available nowhere; its context menu for one line.
        m_sim.options().manquants = {doliprane};
        QGuiApplication::clipboard()->setText("3582910\n2756339\n3400892");
        ouvreListe();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        auto *progression = m_liste->findChild<QProgressBar *>("progression");
        QTRY_VERIFY(progression->maximum() == 6 && progression->value() == 6);
        QTest::mouseClick(m_liste->findChild<QPushButton *>("surveiller"), Qt::LeftButton);
        QCOMPARE(codes(), (QStringList{"3153342 SPASFON LYOC 80MG B/10", "3400892 ", "3582910 "}));
        auto *table = m_liste->findChild<QTableView *>("table");
        table->selectRow(1);
        table->actions().first()->trigger();
        QCOMPARE(codes().size(), 4);

        // F8 shows them; a round fills the accounts' columns and raises the alert once per account.
        auto *fenetre = m_window->findChild<FrmSurveillance *>();
        QVERIFY(fenetre && fenetre->isVisible());
        auto *produits = fenetre->findChild<QTableWidget *>("table");
        verifieModele(produits->model());
        QCOMPARE(produits->rowCount(), 4);
        m_sim.options().manquants.clear();
        QSignalSpy fin(&surveillance, &Surveillance::tourTermine);
        QVERIFY(surveillance.lanceTour(true, true));
        QTRY_COMPARE(fin.count(), 1);
        QCOMPARE(QStringList({produits->item(3, 0)->text(), produits->item(3, 1)->text(),
                              produits->item(3, 4)->text(), produits->item(3, 5)->text(),
                              produits->item(1, 4)->text()}),
                 QStringList(
                     {doliprane, "DOLIPRANE 1000MG CPR B/8", "DISPONIBLE", "DISPONIBLE", "NON DISPONIBLE"}));
        BandeauSurveillance *bandeau = m_window->bandeau();
        QVERIFY(bandeau->isVisible());
        QVERIFY(bandeau->lignes().contains("Disponible chez PHOENIX : 3582910 DOLIPRANE 1000MG CPR B/8"));
        QVERIFY(bandeau->lignes().contains("Disponible chez CERP ROUEN : 2756339 EFFERALGAN 1G CPR EFF B/8"));
        QCOMPARE(bandeau->lignes().size(), 4);
        QTest::mouseClick(bandeau->findChild<QToolButton *>("fermer"), Qt::LeftButton);
        QVERIFY(!bandeau->isVisible());

        produits->selectRow(3);
        QTest::keyClick(produits, Qt::Key_Delete);
        QCOMPARE(codes().size(), 3);
        QCOMPARE(produits->rowCount(), 3);

        // The same list in a tab of the history window.
        m_window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), m_window.get());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        auto *historique = m_window->findChild<FrmHistorique *>();
        QVERIFY(historique);
        auto *onglets = historique->findChild<QTabWidget *>();
        QCOMPARE(onglets->tabText(onglets->count() - 1), QStringLiteral("Surveillance"));
        QCOMPARE(onglets->widget(onglets->count() - 1)->findChild<QTableWidget *>("table")->rowCount(), 3);
    }

    // Every answer at the counter is in the history (F6); a double-click there asks both accounts again.
    void historiqueDuComptoir()
    {
        const QString spasfon = QStringLiteral("3153342"); // not available: "Manque rayon"
        FichierINI::EcrireIni("Historique", "HeuresRupture", "0");
        Historique historique;
        ouvreSurLeSimulateur(&m_sim);
        interroge(1, spasfon);
        QTRY_COMPARE(fond(c<QTextEdit>("txtInfos1")), rouge);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        auto *fenetre = m_window->findChild<FrmHistorique *>();
        QVERIFY(fenetre);
        QTRY_COMPARE(QApplication::activeWindow(), fenetre);
        auto *table = fenetre->findChild<QTableView *>("reponses");
        auto *reponses = table->model(), *ruptures = fenetre->findChild<QTableView *>("ruptures")->model();
        verifieModele(reponses);
        verifieModele(ruptures);
        // The history's worker runs at a low priority: on a busy machine its first write takes seconds.
        QTRY_COMPARE_WITH_TIMEOUT(reponses->rowCount(), 1, 20000);
        QCOMPARE(reponses->index(0, 1).data().toString() + u'|' + reponses->index(0, 2).data().toString() +
                     u'|' + reponses->index(0, 3).data().toString() + u'|' +
                     reponses->index(0, 5).data().toString() + u'|' + reponses->index(0, 6).data().toString(),
                 QStringLiteral("Comptoir|1 — PHOENIX|3153342|Non disponible|Manque rayon"));

        const qsizetype avant = m_requetes.size();
        const QPoint cellule = table->visualRect(reponses->index(0, 3)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellule);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cellule);
        QTRY_COMPARE(m_requetes.size(), avant + 2);
        QCOMPARE(txt(2)->text(), spasfon);
        QTRY_COMPARE(reponses->rowCount(), 3);

        const QList<QByteArray> lignes = exporte(fenetre).split('\n');
        QVERIFY(lignes[0].startsWith("\xEF\xBB\xBF"
                                     "Date;Origine;Répartiteur;Code;Désignation;État;Motif;Prix;"));
        QCOMPARE(lignes.size(), 5); // the header, three answers, and after the last CR LF nothing

        // Both wholesalers said "Manque rayon": with no waiting time that is a shortage already.
        fenetre->findChild<QTabWidget *>()->setCurrentIndex(1);
        QTRY_COMPARE(ruptures->rowCount(), 1);
        QCOMPARE(ruptures->index(0, 0).data().toString() + u'|' + ruptures->index(0, 4).data().toString() +
                     u'|' + ruptures->index(0, 5).data().toString(),
                 QStringLiteral("3153342|1, 2|Manque rayon ; Manque rayon"));
    }

    // A history that cannot be written costs no answer, and is told once, under the designation.
    void historiqueIndisponible()
    {
        FichierINI::EcrireIni("Historique", "Base", "postgresql://pharma:secret@/officine");
        Historique historique;
        ouvreSurLeSimulateur();
        interroge(1, doliprane);
        QTRY_COMPARE(fond(c<QTextEdit>("txtInfos1")), vert);
        QTRY_VERIFY(c<QLabel>("LabRetour0")
                        ->text()
                        .startsWith("DOLIPRANE 1000MG CPR B/8\nHistorique indisponible : "));
        QVERIFY(!c<QLabel>("LabRetour0")->text().contains("secret"));
        interroge(1, doliprane);
        QTRY_COMPARE(fond(c<QTextEdit>("txtInfos1")), vert);
        historique.attend();
        QTest::qWait(50); // time for a second warning, which must not come
        QCOMPARE(c<QLabel>("LabRetour0")->text(), QStringLiteral("DOLIPRANE 1000MG CPR B/8"));
    }

    void listeADeuxRepartiteurs_data()
    {
        QTest::addColumn<bool>("refus");          // the second wholesaler refuses the key
        QTest::addColumn<bool>("echap");          // Escape right after Ctrl+Enter
        QTest::addColumn<QList<int>>("requetes"); // requests each wholesaler receives
        QTest::addColumn<QString>("infobulle");   // on the second wholesaler's title and under the table
        QTest::addColumn<QStringList>("rangees");
        QTest::addColumn<QString>("csv"); // the first product's line

        // Each account: state, prices, reason, expected return, replacement.
        const QString doliprane =
            "3582910|2|DOLIPRANE 1000MG CPR B/8|Disponible vert|1,57 € / 1,49 € / 2,18 €||||";
        const QString doliprane2 = "Disponible vert|1,884 € / 1,788 € / 2,616 €||||PHOENIX";
        const QString csvDoliprane = "3582910;2;DOLIPRANE 1000MG CPR B/8;Disponible;1,57;1,49;2,18;;;;";
        const QString csvDoliprane2 = "Disponible;1,884;1,788;2,616;;;;PHOENIX;\r";
        const QString non = "Non disponible rouge|", contingent = "Contingentement : 2 boites par jour|||";
        const QString autre = "Autre réponse orange|", livraison = "Livraison directe par le laboratoire|||";
        QTest::newRow("both answer, 119 codes in three requests each")
            << false << false << QList<int>{3, 3} << QString()
            << QStringList{doliprane + doliprane2,
                           "3153342|1|SPASFON LYOC 80MG B/10|" + non + "3,95 €|Manque rayon|||" + non +
                               "4,74 €|Manque rayon|||",
                           "3622757|1|AMOXICILLINE 1G CPR DISP B/14|" + non + "2,05 € / 1,98 € / 3,24 €|" +
                               contingent + non + "2,46 € / 2,376 € / 3,888 €|" + contingent,
                           "3267408|1|EXOMUC 200MG GRANULE SACH B/24|" + autre + "2,69 €|" + livraison +
                               autre + "3,228 €|" + livraison,
                           "3000110|1||" + non + "|Produit inconnu|||" + non + "|Produit inconnu|||",
                           "=SOMME(B2:B9)||Pas de code CIP valide sur cette ligne : non envoyée|||||||||||"}
            << csvDoliprane + csvDoliprane2;
        QTest::newRow("the second refuses the key")
            << true << false << QList<int>{3, 1} << "Retour HTTP incorrect ! (vérifier la clef secrète)"
            << QStringList{doliprane + "Erreur gris|||||",
                           "3000110|1||Non disponible rouge||Produit inconnu|||Erreur gris|||||"}
            << csvDoliprane + "Erreur;Retour HTTP incorrect ! (vérifier la clef secrète);;;;\r";
        QTest::newRow("Escape stops what is not sent")
            << false << true << QList<int>{1, 1} << QString()
            << QStringList{doliprane + doliprane2, "3000110|1||Annulé gris|||||Annulé gris|||||"}
            << csvDoliprane + csvDoliprane2;
    }

    // The expected return and the replacement in the list and its CSV; Ctrl+R adds the replacement.
    void listeQuandEtQuoi()
    {
        ouvreSurLeSimulateur();
        ouvreListe();
        m_liste->ajoute("3589142\n3010284\n3582910\n");
        m_liste->verifie();
        auto *progression = m_liste->findChild<QProgressBar *>("progression");
        QTRY_VERIFY(progression->maximum() == 3 && progression->value() == 3);

        auto *table = m_liste->findChild<QTableView *>("table");
        QAbstractItemModel *modele = table->model();
        const QString demain = QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(rangee(modele, "3589142"),
                 "3589142|1|FERVEX ADULTE SANS SUCRE SACH B/8|Autre réponse orange|"
                 "3,46 € / 3,28 €|DCOL nationale, livraison demain matin|" +
                     demain + '|');
        QCOMPARE(modele->index(0, 6).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Heure : 14:30\nQuantité : 2"));
        QCOMPARE(rangee(modele, "3010284"),
                 "3010284|1|DOLIPRANE 1000MG CPR B/8 ANCIEN CDT|Non disponible rouge||"
                 "Produit remplace||3400935829108 DOLIPRANE 1000MG CPR B/8");
        QCOMPARE(
            modele->index(1, 7).data(Qt::ToolTipRole).toString(),
            QStringLiteral("remplaçant livré\nPrix achat HT = 1,49 €\nPrix d'achat HT hors remise = 1,57 €"));

        const QStringList lignesCsv = QString::fromUtf8(exporte(m_liste)).split(QStringLiteral("\r\n"));
        QCOMPARE(lignesCsv.value(0), QStringLiteral("Code;Quantité;Désignation;PHOENIX;PHOENIX PHAHT;"
                                                    "PHOENIX NETHT;PHOENIX PUBTC;PHOENIX motif;"
                                                    "PHOENIX retour prévu;PHOENIX remplaçant;"
                                                    "Ligne refusée"));
        QCOMPARE(lignesCsv.value(2),
                 QStringLiteral("3010284;1;DOLIPRANE 1000MG CPR B/8 ANCIEN CDT;Non disponible;"
                                ";;;Produit remplace;;3400935829108 DOLIPRANE 1000MG CPR B/8;"));

        table->selectRow(1);
        QTest::keyClick(table, Qt::Key_R, Qt::ControlModifier);
        // The replacement is the CIP13 of a listed CIP: that line takes it, its quantity added.
        QCOMPARE(modele->rowCount(), 3);
        QCOMPARE(rangee(modele, "3582910").section(u'|', 0, 1), QStringLiteral("3582910|2"));
    }

    void listeADeuxRepartiteurs()
    {
        QFETCH(bool, refus);
        QFETCH(bool, echap);
        QFETCH(QString, infobulle);
        QFETCH(QStringList, rangees);

        for (SimulateurPharmaML *sim : {&m_sim, &m_cerp}) {
            sim->options().delaiMs = echap ? 100 : 0;
            sim->options().lignesMax = 50;
        }
        if (refus)
            m_cerp.options().reponse = OptionsSimulateur::Reponse::Refus401;
        ouvreSurLeSimulateur(&m_cerp);

        // The catalogue, a line without a code, a code twice, unknown codes up to 120 lines.
        QStringList texte{"3582910\t1", "=SOMME(B2:B9)", "3153342", "3622757", "3267408", "3582910;1"};
        for (int i = 1; texte.size() < 121; ++i)
            texte << QString::number(3000000 + i);
        QGuiApplication::clipboard()->setText(texte.join(u'\n'));

        ouvreListe();
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("code"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        if (echap)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        auto *progression = m_liste->findChild<QProgressBar *>("progression");
        QTRY_VERIFY(progression->maximum() == 238 && progression->value() == 238);
        QVERIFY(progression->isVisible());
        // A failure is told in words under the table too.
        auto *echecs = m_liste->findChild<QLabel *>("echecs");
        QCOMPARE(echecs->isVisible(), !infobulle.isEmpty());
        QCOMPARE(echecs->text(), infobulle.isEmpty() ? QString() : "CERP ROUEN : " + infobulle);

        auto *table = m_liste->findChild<QTableView *>("table");
        QCOMPARE(table->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("CERP ROUEN"));
        QCOMPARE(table->model()->headerData(8, Qt::Horizontal, Qt::ToolTipRole).toString(), infobulle);
        for (const QString &attendue : rangees)
            QCOMPARE(rangee(table->model(), attendue.section(u'|', 0, 0)), attendue);
        // The cheaper account was found on the net price, and says so.
        QCOMPARE(table->model()->index(0, 13).data(Qt::ToolTipRole).toString(),
                 refus ? QString() : QStringLiteral("Comparé sur NETHT (Prix achat HT)"));
        QTest::qWait(100); // time for a request that Escape should have stopped
        QTEST((QList<int>{int(m_requetes.size()), m_requetesCerp}), "requetes");

        const QList<QByteArray> lignesCsv = exporte(m_liste).split('\n');
        QTEST(QString::fromUtf8(lignesCsv[1]), "csv");
        // A line without a code keeps its text in the last column; a formula-like cell is written as text.
        QVERIFY(lignesCsv.contains(QByteArray(lignesCsv[0].count(';'), ';') + "'=SOMME(B2:B9)\r"));

        // Escape during the check did not close the window; "Vider" clears the progress, Ctrl+Z the rest.
        QVERIFY(m_liste->isVisible());
        QString question;
        repondra(question, QMessageBox::Yes);
        m_liste->vide();
        QTRY_VERIFY(question.startsWith("Vider la liste|Retirer les 120 ligne(s) de la liste ?"));
        QCOMPARE(table->model()->rowCount(), 0);
        QVERIFY(!progression->isVisible());
        m_liste->annuleModification();
        QCOMPARE(table->model()->rowCount(), 120);

        // The list and the window's place come back with the program.
        m_liste->resize(700, 400);
        m_liste->close();
        ouvre();
        ouvreListe();
        QCOMPARE(m_liste->size(), QSize(700, 400));
        table = m_liste->findChild<QTableView *>("table");
        QCOMPARE(table->model()->rowCount(), 119);
        QCOMPARE(rangee(table->model(), "3582910").section(u'|', 0, 1), QStringLiteral("3582910|2"));
    }
};

QTEST_MAIN(TestRequete)
#include "tst_requete.moc"
