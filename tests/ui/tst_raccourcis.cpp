#include "siteediteur.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include "ui/fenetreessai.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>

using namespace FenetreEssai;

namespace {

// Stands for the user's browser: keeps the addresses it is asked to open.
class Navigateur : public QObject {
    Q_OBJECT
public:
    Navigateur()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "ouvre");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "ouvre");
    }
    ~Navigateur() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    Q_INVOKABLE void ouvre(const QUrl &url) { ouvertes << url; }
    QList<QUrl> ouvertes;
};

} // namespace

class TestRaccourcis : public QObject, public Banc {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void flecheHaut_data();
    void flecheHaut();
    void flecheHautDansLaListe();
    void flecheBasEtEntree();
    void aideEnLigne_data();
    void aideEnLigne();
    void pageAccueil();
    void glisser_data();
    void glisser();
    void controlesSansGlisserEtFermeture();
    void touchesDAccesDuPanneau();

private:
    void touche(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    void ouvrePanneau() { QTest::mouseClick(c<TOVAButton>("cmdParam"), Qt::LeftButton); }

    std::unique_ptr<Navigateur> m_navigateur;
};

void TestRaccourcis::init()
{
    prepare();
    m_navigateur = std::make_unique<Navigateur>();
}

void TestRaccourcis::cleanup()
{
    libere();
    m_navigateur.reset();
}

void TestRaccourcis::flecheHaut_data()
{
    QTest::addColumn<QList<int>>("comptes"); // complete accounts
    QTest::addColumn<bool>("panneau");
    QTest::addColumn<QString>("depart");
    QTest::addColumn<QStringList>("chemin"); // focus after each Up arrow (the buttons have keys of their own)

    const QList<int> deux{1, 2};
    QTest::newRow("identity fields to account 2's button")
        << deux << false << "TxtDispo2" << QStringList{"TxtDispo1", "TxtDispo0", "cmdDispo1"};
    QTest::newRow("only account 1's button")
        << QList<int>{1} << false << "TxtDispo0" << QStringList{"cmdDispo0"};
    QTest::newRow("no button") << QList<int>{} << false << "TxtDispo1"
                               << QStringList{"TxtDispo0", "TxtDispo0"};
    QTest::newRow("settings fields to the list")
        << deux << true << "TxtDispo7" << QStringList{"TxtDispo6", "TxtDispo5", "TxtDispo4", "cboDispo"};
}

void TestRaccourcis::flecheHaut()
{
    QFETCH(QList<int>, comptes);
    QFETCH(bool, panneau);
    QFETCH(QString, depart);
    QFETCH(QStringList, chemin);
    for (int n : comptes)
        compteLocal(n, 9);
    m_window = ouvre();
    if (panneau)
        ouvrePanneau();
    c<QWidget>(depart)->setFocus();
    QStringList suivi;
    for (int i = 0; i < chemin.size(); ++i) {
        touche(Qt::Key_Up);
        QApplication::processEvents();
        suivi << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(suivi, chemin);
}

void TestRaccourcis::flecheHautDansLaListe()
{
    compteLocal(1, 9);
    m_window = ouvre();
    ouvrePanneau();
    auto *liste = c<QComboBox>("cboDispo");
    QCOMPARE(liste->currentText(), QStringLiteral("PHOENIX"));
    liste->setFocus();
    touche(Qt::Key_Up);
    // The window leaves it to the list, which goes to the entry above.
    QVERIFY(liste->hasFocus());
    QCOMPARE(liste->currentText(), QStringLiteral("PHARMAR"));
}

void TestRaccourcis::flecheBasEtEntree()
{
    compteLocal(1, 9);
    m_window = ouvre();
    ouvrePanneau();
    // Down and Enter walk the fields in tab order; from the last settings field to the help picture,
    // and from there back to the top.
    const QList<std::pair<Qt::Key, QString>> pas{{Qt::Key_Down, "TxtDispo1"}, {Qt::Key_Return, "TxtDispo2"},
                                                 {Qt::Key_Down, "cmdDispo0"}, {Qt::Key_Tab, "cboDispo"},
                                                 {Qt::Key_Tab, "TxtDispo4"},  {Qt::Key_Enter, "TxtDispo5"},
                                                 {Qt::Key_Down, "TxtDispo6"}, {Qt::Key_Down, "TxtDispo7"},
                                                 {Qt::Key_Down, "PicAide"},   {Qt::Key_Down, "TxtDispo0"}};
    txt(0)->setFocus();
    for (const auto &[key, attendu] : pas) {
        const QString avant = QApplication::focusWidget()->objectName();
        touche(key);
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget()->objectName(), attendu, 1000);
        // The key itself does nothing in the field it left.
        if (avant.startsWith(QStringLiteral("TxtDispo")))
            QVERIFY2(!c<QLineEdit>(avant)->text().contains(u'\r'), qPrintable(avant));
    }
}

void TestRaccourcis::aideEnLigne_data()
{
    QTest::addColumn<bool>("parLaTouche");
    QTest::addColumn<bool>("oui");
    QTest::newRow("F1, Yes") << true << true;
    QTest::newRow("F1, No") << true << false;
    QTest::newRow("help picture, Yes") << false << true;
    QTest::newRow("help picture, No") << false << false;
}

void TestRaccourcis::aideEnLigne()
{
    QFETCH(bool, parLaTouche);
    QFETCH(bool, oui);
    m_window = ouvre();
    txt(0)->setFocus();
    QString vue;
    repondra(vue, oui ? QMessageBox::Yes : QMessageBox::No);
    if (parLaTouche)
        touche(Qt::Key_F1);
    else
        QTest::mouseClick(c<QLabel>("PicAide"), Qt::LeftButton);

    QCOMPARE(vue, QStringLiteral("Aide en ligne|Accès à l'aide en ligne de Solvarin\r\n"
                                 "sur le site web 127.0.0.1 ?|%1|%2")
                      .arg(int(QMessageBox::Question))
                      .arg(int(QMessageBox::Yes | QMessageBox::No)));
    if (oui)
        QCOMPARE(m_navigateur->ouvertes,
                 QList<QUrl>{QUrl(m_pages->base() + QStringLiteral("/solvarin.php"))});
    else
        QVERIFY(m_navigateur->ouvertes.isEmpty());
}

void TestRaccourcis::pageAccueil()
{
    m_window = ouvre();
    auto *lien = c<QLabel>("LabAdresse");
    // A right click opens nothing; a click opens the address the link shows, without a question.
    QTest::mouseClick(lien, Qt::RightButton);
    QVERIFY(m_navigateur->ouvertes.isEmpty());
    QTest::mouseClick(lien, Qt::LeftButton);
    QCOMPARE(m_navigateur->ouvertes, QList<QUrl>{SiteEditeur::pageAccueil()});
    QCOMPARE(SiteEditeur::pageAccueil().toString(), m_pages->base() + u'/');
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestRaccourcis::glisser_data()
{
    QTest::addColumn<Qt::MouseButton>("bouton");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestRaccourcis::glisser()
{
    QFETCH(Qt::MouseButton, bouton);
    m_window = ouvre();
    auto *peau = c<QLabel>("Pic");
    // A bare spot of the skin, between the help picture and the pharmacy name.
    const QPoint nu(300, 30);
    QVERIFY(peau->childAt(nu) == nullptr);
    const QPoint depart = m_window->pos();
    QTest::mousePress(peau, bouton, {}, nu);
    QTest::mouseMove(peau, nu + QPoint(40, 25));
    QTest::mouseRelease(peau, bouton, {}, nu + QPoint(40, 25));
    QCOMPARE(m_window->pos(), depart + QPoint(40, 25));
    // Once released, the pointer moves alone.
    QTest::mouseMove(peau, nu);
    QCOMPARE(m_window->pos(), depart + QPoint(40, 25));
}

void TestRaccourcis::controlesSansGlisserEtFermeture()
{
    m_window = ouvre();
    const QPoint depart = m_window->pos();
    for (const char *nom : {"Label2", "LabRetour1", "TxtDispo0"}) {
        auto *w = c<QWidget>(QLatin1String(nom));
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(w, QPoint(60, 40));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(60, 40));
        QCOMPARE(m_window->pos(), depart);
    }
    // The close picture closes at once, without a question.
    QTest::mouseClick(c<QLabel>("PicClose"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestRaccourcis::touchesDAccesDuPanneau()
{
    compteLocal(1, 9);
    m_window = ouvre();
    txt(2)->setFocus();
    // The settings pane is hidden: its access keys do nothing.
    QTest::keyClick(m_window.get(), Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(m_window.get(), Qt::Key_R, Qt::AltModifier);
    QVERIFY(txt(2)->hasFocus());
    QTest::keyClick(m_window.get(), Qt::Key_C, Qt::AltModifier);
    QVERIFY(txt(2)->hasFocus());
    QTest::keyClick(m_window.get(), Qt::Key_N, Qt::AltModifier);
    QVERIFY(txt(0)->hasFocus());
    QTest::keyClick(m_window.get(), Qt::Key_A, Qt::AltModifier);
    QVERIFY(txt(1)->hasFocus());

    ouvrePanneau();
    const QList<std::pair<Qt::Key, QString>> acces{{Qt::Key_R, "cboDispo"},  {Qt::Key_E, "TxtDispo4"},
                                                   {Qt::Key_U, "TxtDispo5"}, {Qt::Key_I, "TxtDispo6"},
                                                   {Qt::Key_S, "TxtDispo7"}, {Qt::Key_C, "TxtDispo2"}};
    for (const auto &[key, attendu] : acces) {
        QTest::keyClick(m_window.get(), key, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), attendu);
    }
}

QTEST_MAIN(TestRaccourcis)
#include "tst_raccourcis.moc"
