#include "modskin.h"
#include "siteediteur.h"
#include "webinfos.h"

#include "ui/fenetreessai.h"

#include <QSignalSpy>

using namespace FenetreEssai;

// The window's parts on their own: its shape, the maker's pages and the page pane.
class TestComposants : public QObject, public Banc {
    Q_OBJECT
private slots:
    void init() { prepare(); }
    void cleanup() { libere(); }

    void formeDeLaPeau_data()
    {
        // '.' the key colour, whatever it is; 'w' white; 'n' white but for one unit of blue; '#' drawing.
        QTest::addColumn<QStringList>("rangees");
        QTest::addColumn<QColor>("clef");
        QTest::newRow("run reaching the last column") << QStringList{"..###", "#...."} << QColor(Qt::white);
        QTest::newRow("hole inside the drawing") << QStringList{".....", ".#.##", "....."} << QColor(Qt::white);
        QTest::newRow("key colour only") << QStringList{"....", "...."} << QColor(Qt::white);
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
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                image.setPixelColor(x, y, couleurs[rangees[y][x]]);
                if (rangees[y][x] != u'.')
                    attendue += QRect(x, y, 1, 1);
            }
        }
        QCOMPARE(modSkin::RegionDepuisImage(image), attendue);
    }

    void siteDeLEditeur()
    {
        ecrire(QStringLiteral("URLEditeur"), QStringLiteral("https://pages.example/sub/"));
        QCOMPARE(SiteEditeur::pageAide().toEncoded(), QByteArray("https://pages.example/sub/solvarin.php"));
        // A setting that is no usable address leaves the maker's site.
        ecrire(QStringLiteral("URLEditeur"), QStringLiteral("not an address"));
        QCOMPARE(SiteEditeur::pageInfos(QStringLiteral("1")).toEncoded(), QByteArray("https://www.ardevio.fr/Infos.php?ADL=1"));
        QCOMPARE(SiteEditeur::texteAccueil() + SiteEditeur::nomHote(), QStringLiteral("www.ardevio.frwww.ardevio.fr"));
    }

    void pageInjoignable()
    {
        QTcpServer ferme;
        QVERIFY(ferme.listen(QHostAddress::LocalHost));
        const quint16 port = ferme.serverPort();
        ferme.close();
        WebInfos web;
        QSignalSpy fin(&web, &WebInfos::downloadComplete);
        web.navigate(QUrl(QStringLiteral("http://127.0.0.1:%1/Infos.php?ADL=1").arg(port)));
        QVERIFY(fin.wait(5000));
        QVERIFY(web.documentCharge());
        QVERIFY(web.texte().contains(QStringLiteral("pas joignables")));
    }

    void navigationRecenteGagne()
    {
        PageServer seconde(httpReply("<h1>Seconde</h1><p>page</p>"));
        WebInfos web;
        QSignalSpy fin(&web, &WebInfos::downloadComplete);
        web.navigate(QUrl(m_pages->base() + QStringLiteral("/Infos.php")));
        web.navigate(QUrl(seconde.base() + QStringLiteral("/Infos.php")));
        QVERIFY(!web.documentCharge());
        QVERIFY(fin.wait(5000));
        QTest::qWait(100);
        QCOMPARE(fin.size(), 1);
        QCOMPARE(web.texte(), QStringLiteral("Seconde\npage"));
    }
};

QTEST_MAIN(TestComposants)
#include "tst_composants.moc"
