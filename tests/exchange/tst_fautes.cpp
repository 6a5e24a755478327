// Faults of the wholesaler, of the network and of the program's own files, each met through a whole
// exchange over loopback: every one ends with a defined message, within the time limit, and nothing
// of the reply is kept once it has ended.
#include "bancechange.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include <functional>

using namespace std::chrono_literals;

namespace {

const QString httpIncorrect = QStringLiteral("Retour HTTP incorrect ! (vérifier la clef secrète)");
const QString nonConforme = QStringLiteral("Retour non conforme");
const QString urlAVerifier = QStringLiteral("Merci de vérifier l'adresse URL du répartiteur !");

const QByteArray entetes = "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=UTF-8\r\n\r\n";
const QByteArray entetesChunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// The shortest reply that shows something: a wholesaler error naming `detail`.
QByteArray enveloppeErreur(const QByteArray &detail, const QByteArray &prologue = {}) {
    return prologue + "<CSRP_ENVELOPPE><ERREUR Detail=\"" + detail + "\"/></CSRP_ENVELOPPE>";
}

QByteArray enChunk(const QByteArray &corps) {
    return QByteArray::number(corps.size(), 16) + "\r\n" + corps + "\r\n0\r\n\r\n";
}

// What a misbehaving wholesaler does once the request has arrived whole.
using Script = std::function<void(QTcpSocket *)>;

// A wholesaler on 127.0.0.1 that plays a script instead of answering. It runs on the test's thread,
// inside the exchange's wait, as any peer's events do.
class PairScripte : public QObject {
public:
    explicit PairScripte(Script script) : m_script(std::move(script))
    {
        connect(&m_serveur, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *c = m_serveur.nextPendingConnection()) {
                ++m_connexions;
                c->setParent(this);
                connect(c, &QTcpSocket::readyRead, this, [this, c] {
                    m_recu += c->readAll();
                    if (!m_joue && m_recu.endsWith("</CSRP_ENVELOPPE>\r\n")) {
                        m_joue = true;
                        m_script(c);
                    }
                });
            }
        });
    }
    bool ecoute() { return m_serveur.listen(QHostAddress::LocalHost); }
    quint16 port() const { return m_serveur.serverPort(); }
    int connexions() const { return m_connexions; }

private:
    QTcpServer m_serveur;
    Script m_script;
    QByteArray m_recu;
    bool m_joue = false;
    int m_connexions = 0;
};

// Sends the bytes, then after `pause` ends the connection: with a FIN, or with a reset (RST).
Script puisFerme(QByteArray octets, bool reset, std::chrono::milliseconds pause = 100ms) {
    return [octets, reset, pause](QTcpSocket *c) {
        c->write(octets);
        c->flush();
        QTimer::singleShot(pause, c, [c, reset] {
            if (reset) {
                // No linger: closing drops the connection with a reset instead of a FIN.
                const linger sansAttente{1, 0};
                setsockopt(c->socketDescriptor(), SOL_SOCKET, SO_LINGER,
                           reinterpret_cast<const char *>(&sansAttente), sizeof sansAttente);
                c->abort();
            } else {
                c->disconnectFromHost();
            }
        });
    };
}

// Sends the bytes and keeps the connection open.
Script envoie(QByteArray octets) {
    return [octets](QTcpSocket *c) { c->write(octets); };
}

// One byte every `intervalle`.
Script goutteAGoutte(QByteArray octets, std::chrono::milliseconds intervalle) {
    return [octets, intervalle](QTcpSocket *c) {
        auto *minuterie = new QTimer(c);
        minuterie->setInterval(intervalle);
        QObject::connect(minuterie, &QTimer::timeout, c, [c, minuterie, octets, i = qsizetype(0)]() mutable {
            c->write(octets.mid(i++, 1));
            if (i == octets.size())
                minuterie->stop();
        });
        minuterie->start();
    };
}

// `debut`, then `bloc` over and over until `total` bytes have gone, never more than a few blocks
// waiting in the peer's own buffer.
Script inonde(QByteArray debut, QByteArray bloc, qint64 total) {
    return [debut, bloc, total](QTcpSocket *c) {
        auto envoye = std::make_shared<qint64>(c->write(debut));
        const auto remplit = [c, bloc, total, envoye] {
            while (*envoye < total && c->bytesToWrite() < 4 * bloc.size())
                *envoye += c->write(bloc);
        };
        QObject::connect(c, &QTcpSocket::bytesWritten, c, remplit);
        remplit();
    };
}

} // namespace

Q_DECLARE_METATYPE(Script)

class TestFautes : public BancEchange {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void repliqueInterrompue_data();
    void repliqueInterrompue();
    void repliqueRefusee_data();
    void repliqueRefusee();
    void repliqueLente_data();
    void repliqueLente();
    void rienDExterieurNEstCharge_data();
    void rienDExterieurNEstCharge();
    void reglagesIllisibles_data();
    void reglagesIllisibles();

private:
    // Account 1 pointed at `port` on 127.0.0.1.
    void ecritReglages(quint16 port);
    // One exchange against a peer playing `script`; the time it took.
    qint64 echange(const Script &script, std::chrono::milliseconds delai);

    std::unique_ptr<PairScripte> m_pair;
};

void TestFautes::init() {
    prepare();
}

void TestFautes::cleanup() {
    libere();
    m_pair.reset();
}

void TestFautes::ecritReglages(quint16 port) {
    ecritIni("[Infos]\r\nNomRepart1=OCP\r\nIdRepart1=12\r\nCodeRepart1=04\r\n"
             "URLRepart1=http://127.0.0.1/pml\r\nNumeroCli1=0999908\r\nClefCli1=4083\r\nPortRepart1=" +
             QByteArray::number(port) + "\r\n");
}

qint64 TestFautes::echange(const Script &script, std::chrono::milliseconds delai) {
    m_pair = std::make_unique<PairScripte>(script);
    if (!m_pair->ecoute())
        qFatal("cannot listen on the loopback");
    ecritReglages(m_pair->port());
    m_module->setDelaiAttente(delai);
    QElapsedTimer chrono;
    chrono.start();
    m_module->PML_EnvoieUneRequete(QStringLiteral("3582910,1"), 1);
    return chrono.elapsed();
}

void TestFautes::repliqueInterrompue_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QByteArray>("recu");

    const QByteArray moitie = entetes + enveloppeErreur("x").left(20);
    QTest::newRow("peer closes before the end tag") << puisFerme(moitie, false) << moitie;
    QTest::newRow("reset in the middle of the reply") << puisFerme(moitie, true) << moitie;
    QTest::newRow("chunked, reset inside a chunk") << puisFerme(entetesChunked + "40\r\n<CSRP_ENV", true)
                                                   << QByteArray(entetesChunked + "40\r\n<CSRP_ENV");
    QTest::newRow("peer closes without a byte") << puisFerme({}, false, 0ms) << QByteArray();
    QTest::newRow("reset without a byte") << puisFerme({}, true, 0ms) << QByteArray();
    const QByteArray ssh = "SSH-2.0-OpenSSH_9.2p1 Debian-2\r\n";
    QTest::newRow("non-HTTP answer, then close") << puisFerme(ssh, false) << ssh;
    QTest::newRow("non-HTTP answer, left open") << envoie(ssh) << ssh;
}

// The socket reports neither the peer's close nor a reset: the exchange ends at its time limit, and
// no sooner, with what it received still there to look at.
void TestFautes::repliqueInterrompue() {
    QFETCH(Script, script);
    QFETCH(QByteArray, recu);
    const qint64 duree = echange(script, 400ms);
    QCOMPARE(m_zone->lignes(), erreur(delaiDepasse));
    QVERIFY2(duree >= 400 && duree < 10000, qPrintable(QString::number(duree)));
    QCOMPARE(m_module->RetourPartiel(), recu);
    QVERIFY(m_module->RetourXML().isEmpty());
    QVERIFY(!m_module->AttenteRetour());
    QCOMPARE(m_pair->connexions(), 1);
}

void TestFautes::repliqueRefusee_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("message");
    const auto ligne = [](const char *nom, const QByteArray &reponse, const QString &message) {
        QTest::newRow(nom) << envoie(reponse) << message;
    };
    // Any status but 200, the connection left open by the peer.
    ligne("HTTP 500 with a page",
          "HTTP/1.1 500 Internal Server Error\r\nContent-Type: text/html\r\n\r\n<html>Erreur</html>",
          httpIncorrect);
    ligne("HTTP 500 holding an envelope, chunked",
          "HTTP/1.1 500 Internal Server Error\r\nTransfer-Encoding: chunked\r\n\r\n" +
              enChunk(enveloppeErreur("interne")),
          httpIncorrect);
    ligne("HTTP 503, headers only", "HTTP/1.0 503 Service Unavailable\r\n\r\n", httpIncorrect);
    ligne("mail server greeting", "220 mail.exemple.fr ESMTP Postfix\r\n\r\n", httpIncorrect);
    ligne("HTML page without status line", "<html><body>\r\n\r\n" + enveloppeErreur("x") + "</body></html>",
          httpIncorrect);
    // The framing breaks before the end tag, so the reply can never be read (the variants are the
    // decoder's own test).
    const QByteArray e = enveloppeErreur("x");
    ligne("chunk size not hexadecimal", entetesChunked + "zz\r\n" + e + "\r\n0\r\n\r\n", nonConforme);
    ligne("chunk size line without end", entetesChunked + QByteArray(9000, '1') + e, nonConforme);
    ligne("second chunk size broken",
          entetesChunked + "5\r\n<CSRP\r\nxyz\r\n" + e.mid(5) + "\r\n0\r\n\r\n", nonConforme);
    QByteArray dtd = "<!DOCTYPE CSRP_ENVELOPPE [<!ENTITY e0 \"hahahahahaha\">";
    for (int i = 1; i <= 10; ++i)
        dtd += "<!ENTITY e" + QByteArray::number(i) + " \"" +
               ("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    ligne("entity bomb", entetes + "<?xml version=\"1.0\"?>" + dtd + "]>" + enveloppeErreur("&e10;"),
          nonConforme);
    // 20 MiB that never reach the end tag: given up once past 16 MiB.
    const QByteArray donnees(64 * 1024, 'a');
    const qint64 flot = 20 * 1024 * 1024;
    QTest::newRow("chunked flood")
        << inonde(entetesChunked, QByteArray::number(donnees.size(), 16) + "\r\n" + donnees + "\r\n", flot)
        << nonConforme;
    QTest::newRow("flood without header block")
        << inonde("HTTP/1.1 200 OK\r\n", donnees, flot) << nonConforme;
    QTest::newRow("plain flood") << inonde(entetes, donnees, flot) << nonConforme;
}

// The reply is refused as soon as it shows itself unusable, without waiting for the limit, and what
// was received is dropped.
void TestFautes::repliqueRefusee() {
    QFETCH(Script, script);
    QFETCH(QString, message);
    echange(script, 60s);
    QCOMPARE(m_zone->lignes(), erreur(message));
    QVERIFY(m_module->RetourPartiel().isEmpty());
    if (message == httpIncorrect)
        QVERIFY(m_module->RetourXML().isEmpty());
    QCOMPARE(m_module->echange().findChild<QTcpSocket *>()->state(), QAbstractSocket::UnconnectedState);
}

void TestFautes::repliqueLente_data() {
    QTest::addColumn<int>("delai");
    QTest::addColumn<QString>("message");
    QTest::newRow("within the limit") << 20000 << QStringLiteral("Retour : Erreur lent");
    // The limit counts from the start of the exchange, not from the last byte received.
    QTest::newRow("beyond the limit") << 600 << delaiDepasse;
}

// One byte every 50 ms.
void TestFautes::repliqueLente() {
    QFETCH(int, delai);
    QFETCH(QString, message);
    const QByteArray reponse = "HTTP/1.1 200 OK\r\n\r\n" + enveloppeErreur("lent");
    const qint64 duree = echange(goutteAGoutte(reponse, 50ms), std::chrono::milliseconds(delai));
    QCOMPARE(m_zone->lignes(), erreur(message));
    QVERIFY(duree >= std::min<qint64>(delai, 50 * (reponse.size() - 1)) && duree < 10000);
    QCOMPARE(m_module->RetourPartiel().isEmpty(), delai > 10000);
}

void TestFautes::rienDExterieurNEstCharge_data() {
    QTest::addColumn<QByteArray>("prologue");
    QTest::addColumn<QByteArray>("contenu");
    QTest::addColumn<QString>("message");
    // The sentinel's address is put in place of PORT.
    const QByteArray url = "http://127.0.0.1:PORT/";
    const auto refuse = [](const char *nom, const QByteArray &prologue, const QByteArray &contenu = {}) {
        QTest::newRow(nom) << prologue << contenu << nonConforme;
    };
    refuse("external DTD", "<!DOCTYPE CSRP_ENVELOPPE SYSTEM \"" + url + "csrp.dtd\">");
    refuse("external DTD with a public identifier",
           "<!DOCTYPE CSRP_ENVELOPPE PUBLIC \"-//CSRP//DTD//FR\" \"" + url + "csrp.dtd\">");
    refuse("external entity", "<!DOCTYPE CSRP_ENVELOPPE [<!ENTITY e SYSTEM \"" + url + "e.xml\">]>", "&e;");
    refuse("external parameter entity",
           "<!DOCTYPE CSRP_ENVELOPPE [<!ENTITY % p SYSTEM \"" + url + "p.dtd\"> %p;]>");
    QTest::newRow("inclusion and style sheet are not followed")
        << "<?xml-stylesheet type=\"text/xsl\" href=\"" + url + "s.xsl\"?>"
        << "<xi:include xmlns:xi=\"http://www.w3.org/2001/XInclude\" href=\"" + url + "i.xml\"/>"
        << QStringLiteral("Retour : Erreur x");
}

// A reply that points outside itself is never followed: the sentinel listening at the address it
// names sees no connection.
void TestFautes::rienDExterieurNEstCharge() {
    QFETCH(QByteArray, prologue);
    QFETCH(QByteArray, contenu);
    QFETCH(QString, message);
    QTcpServer sentinelle;
    QVERIFY(sentinelle.listen(QHostAddress::LocalHost));
    int visites = 0;
    connect(&sentinelle, &QTcpServer::newConnection, this, [&visites] { ++visites; });
    const QByteArray port = QByteArray::number(sentinelle.serverPort());
    prologue.replace("PORT", port);
    contenu.replace("PORT", port);
    const QByteArray corps = "<?xml version=\"1.0\"?>" + prologue + "<CSRP_ENVELOPPE>" + contenu +
                             "<ERREUR Detail=\"x\"/></CSRP_ENVELOPPE>";
    echange(envoie(entetes + corps), 20s);
    QCOMPARE(m_zone->lignes(), erreur(message));
    QTest::qWait(50);
    QCOMPARE(visites, 0);
    QVERIFY(!sentinelle.hasPendingConnections());
}

void TestFautes::reglagesIllisibles_data() {
    QTest::addColumn<QString>("cas");
    QTest::newRow("folder") << "folder";
    QTest::newRow("unreadable") << "unreadable";
    QTest::newRow("socket, which no one can open") << "socket";
    QTest::newRow("binary garbage") << "garbage";
}

// The settings file cannot be read as one: every value reads as its default, or as the empty text
// where something that is no regular file stands in its place (a read error), so the exchange stops
// at the URL without connecting anywhere; a write keeps whatever the file held.
void TestFautes::reglagesIllisibles() {
    QFETCH(QString, cas);
    PairScripte pair(envoie(entetes + enveloppeErreur("x")));
    QVERIFY(pair.ecoute());
    ecritReglages(pair.port()); // a valid account, made unreadable below
    const QString ini = chemin(QStringLiteral("Solvarin.ini"));
    QByteArray avant;
    QLocalServer prise;
    if (cas == QLatin1String("folder")) {
        QVERIFY(QFile::remove(ini));
        QVERIFY(QDir().mkdir(ini));
    } else if (cas == QLatin1String("unreadable")) {
        QVERIFY(QFile::setPermissions(ini, QFileDevice::WriteOwner));
        QFile essai(ini);
        if (essai.open(QIODevice::ReadOnly))
            QSKIP("this user reads files whatever their permissions");
    } else if (cas == QLatin1String("socket")) {
#ifdef Q_OS_WIN
        QSKIP("local sockets are named pipes here, not files");
#endif
        QVERIFY(QFile::remove(ini));
        QVERIFY(prise.listen(ini));
    } else {
        avant.resize(4096);
        QRandomGenerator aleas(20260306);
        for (char &c : avant)
            c = char(aleas.bounded(256));
        ecritIni(avant);
    }

    m_module->setDelaiAttente(5s);
    m_module->PML_EnvoieUneRequete(QStringLiteral("3582910,1"), 1);
    QCOMPARE(m_zone->lignes(), erreur(urlAVerifier));
    const bool autreChose = cas == QLatin1String("folder") || cas == QLatin1String("socket");
    QCOMPARE(m_module->NumeroCliRequete(), autreChose ? QString() : QStringLiteral("000000"));
    QTest::qWait(20);
    QCOMPARE(pair.connexions(), 0);

    const qint32 ecrit =
        FichierINI::EcrireIni(QStringLiteral("Infos"), QStringLiteral("CodeRepart1"), QStringLiteral("05"));
    if (autreChose) {
        QCOMPARE(ecrit, 0);
        QVERIFY(QFileInfo::exists(ini) && !QFileInfo(ini).isFile());
    } else if (cas == QLatin1String("garbage")) {
        QCOMPARE(ecrit, 1);
        QFile f(ini);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith(avant));
        QCOMPARE(FichierINI::LireIni(QStringLiteral("Infos"), QStringLiteral("CodeRepart1"), {}),
                 QStringLiteral("05"));
    }
}

QTEST_GUILESS_MAIN(TestFautes)
#include "tst_fautes.moc"
