#include "fichierini.h"
#include "siteediteur.h"
#include "webinfos.h"

#include "ui/pageserver.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

class TestSiteEditeur : public QObject {
    Q_OBJECT
private slots:
    void init();

    void pageAddresses_data();
    void pageAddresses();
    void defaultSiteWithoutSetting();
    void loadsTheInformationPage();
    void unreachablePageStillEnds();
    void newerNavigationWins();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSiteEditeur::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    FichierINI::setRepertoireProgramme(m_dir->path());
}

void TestSiteEditeur::pageAddresses_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("adeli");
    QTest::addColumn<QByteArray>("infos");
    QTest::addColumn<QByteArray>("aide");

    const QString local = QStringLiteral("http://127.0.0.1:8123");
    QTest::newRow("empty ADELI") << local << "" << QByteArray("http://127.0.0.1:8123/Infos.php?ADL=")
                                 << QByteArray("http://127.0.0.1:8123/solvarin.php");
    QTest::newRow("characters encoded")
        << "https://pages.example/sub/" << "75 12&X=1#é"
        << QByteArray("https://pages.example/sub/Infos.php?ADL=75%2012%26X%3D1%23%C3%A9")
        << QByteArray("https://pages.example/sub/solvarin.php");
}

void TestSiteEditeur::pageAddresses() {
    QFETCH(QString, base);
    QFETCH(QString, adeli);
    QFETCH(QByteArray, infos);
    QFETCH(QByteArray, aide);
    FichierINI::EcrireIni(QStringLiteral("Infos"), QStringLiteral("URLEditeur"), base);
    const QUrl page = SiteEditeur::pageInfos(adeli);
    QCOMPARE(page.toEncoded(), infos);
    QCOMPARE(SiteEditeur::pageAide().toEncoded(), aide);
    // The query holds exactly one key whatever the number contains.
    QCOMPARE(page.query(QUrl::FullyDecoded), QStringLiteral("ADL=") + adeli);
}

void TestSiteEditeur::defaultSiteWithoutSetting() {
    QCOMPARE(SiteEditeur::pageInfos(QStringLiteral("123")).toEncoded(),
             QByteArray("https://www.ardevio.fr/Infos.php?ADL=123"));
    QCOMPARE(SiteEditeur::texteAccueil(), QStringLiteral("www.ardevio.fr"));
    // A setting that is no usable address leaves the maker's site.
    FichierINI::EcrireIni(QStringLiteral("Infos"), QStringLiteral("URLEditeur"),
                          QStringLiteral("not an address"));
    QCOMPARE(SiteEditeur::nomHote(), QStringLiteral("www.ardevio.fr"));
}

void TestSiteEditeur::loadsTheInformationPage() {
    PageServer server(httpReply("<html><body><h1>Bonjour</h1><p>Pharmacie du Centre</p></body></html>"));
    FichierINI::EcrireIni(QStringLiteral("Infos"), QStringLiteral("URLEditeur"), server.base());
    WebInfos web;
    QSignalSpy done(&web, &WebInfos::downloadComplete);
    web.navigate(SiteEditeur::pageInfos(QStringLiteral("12 34")));
    QVERIFY(!web.documentCharge());
    QVERIFY(done.wait(5000));
    QVERIFY(web.documentCharge());
    QCOMPARE(server.requests, (QList<QByteArray>{"GET /Infos.php?ADL=12%2034 HTTP/1.1"}));
    QCOMPARE(web.texte(), QStringLiteral("Bonjour\nPharmacie du Centre"));

    web.refresh();
    QVERIFY(done.wait(5000));
    QCOMPARE(server.requests.size(), 2);
}

void TestSiteEditeur::unreachablePageStillEnds() {
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    WebInfos web;
    QSignalSpy done(&web, &WebInfos::downloadComplete);
    web.navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/Infos.php?ADL=1").arg(port)));
    QVERIFY(done.wait(5000));
    QVERIFY(web.documentCharge());
    QVERIFY(web.texte().contains(QStringLiteral("pas joignables")));
}

void TestSiteEditeur::newerNavigationWins() {
    PageServer first(httpReply("<p>premiere</p>"));
    PageServer second(httpReply("seconde", "text/plain"));
    WebInfos web;
    QSignalSpy done(&web, &WebInfos::downloadComplete);
    web.navigate(QUrl(first.base() + QStringLiteral("/Infos.php")));
    web.navigate(QUrl(second.base() + QStringLiteral("/Infos.php")));
    QVERIFY(done.wait(5000));
    QTest::qWait(100);
    QCOMPARE(done.size(), 1);
    QCOMPARE(web.texte(), QStringLiteral("seconde"));
}

QTEST_MAIN(TestSiteEditeur)
#include "tst_siteediteur.moc"
