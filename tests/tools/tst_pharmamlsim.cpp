#include "catalogue.h"
#include "messages.h"
#include "simulateur.h"

#include "schemaspharmaml.h"

#include <QTcpSocket>
#include <QTest>

namespace {

QByteArray lisPartage(const QString &nom)
{
    QFile f(dossierPharmaML(nom));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sends the raw request and returns everything received until `fin` shows up (or a second passes).
QByteArray echange(quint16 port, const QByteArray &requete, const QByteArray &fin)
{
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    if (!s.waitForConnected(1000))
        return {};
    s.write(requete);
    QByteArray recu;
    // The simulator answers from this thread's event loop, which the wait runs; what came is returned.
    Q_UNUSED(QTest::qWaitFor([&] { return (recu += s.readAll()).contains(fin); }, 1000));
    return recu;
}

QByteArray post(const QByteArray &corps, const QString &empreinte)
{
    return "POST /pml HTTP/1.1\r\nContent-Type: text/xml; charset=\"utf-8\"\r\nContent-pharmaML: " +
           empreinte.toLatin1() +
           "\r\nHost: 127.0.0.1\r\nContent-Length: " + QByteArray::number(corps.size()) + "\r\n\r\n" + corps +
           "\r\n";
}

const QByteArray requeteType =
    "<CSRP_ENVELOPPE xmlns=\"urn:x-csrp:fr.csrp.protocole:enveloppe\"><ENTETE><EMETTEUR Nature=\"OF\" "
    "Code=\"00\" Id=\"0999908\" Adresse=\"Pharmacie\"/><RECEPTEUR Nature=\"RE\" Code=\"12\" Id=\"04\" "
    "Adresse=\"x\"/><REF_MESSAGE>20260101120000</REF_MESSAGE></ENTETE><CORPS><MESSAGE_OFFICINE><CORPS>"
    "<REQ_INFO_PRODUIT Ref_Req_Info_Produit=\"20260101120000\"><LIGNE Num_Ligne=\"1\" "
    "Type_Codification=\"CIP39\" Code_Produit=\"3582910\" Quantite=\"1\"/></REQ_INFO_PRODUIT></CORPS>"
    "</MESSAGE_OFFICINE></CORPS></CSRP_ENVELOPPE>";

} // namespace

class TestPharmaMLSim : public QObject {
    Q_OBJECT
private slots:
    // The fingerprint of a real message, and the example request read.
    void messagesPartages()
    {
        const QByteArray commande = lisPartage(QStringLiteral("samples/C_DPCI_commande_v1.xml"));
        const QByteArray exemple = lisPartage(QStringLiteral("constructed/REQ_INFO_PRODUIT_v48_example.xml"));
        if (commande.isEmpty() || exemple.isEmpty())
            QSKIP("the shared Pharma-ML material (../shared/pharmaml) is not there");
        QCOMPARE(MessagesSim::empreinte(commande, QStringLiteral("0999908"), QStringLiteral("4083")),
                 QStringLiteral("jbRS0FUm//7Dq2m4sJg0rQ=="));
        const MessagesSim::Requete r = MessagesSim::lit(exemple);
        QVERIFY(r.lisible);
        QCOMPARE(
            (QStringList{r.idClient, r.codeRepart, r.idRepart, r.refMessage, r.refDemande,
                         QString::number(r.lignes.size()), r.lignes.value(1).numLigne,
                         r.lignes.value(1).codeProduit}),
            (QStringList{"0999908", "12", "04", "20260101120000", "RI20260101120000", "2", "2", "3153342"}));
        QVERIFY(!MessagesSim::lit("<CSRP_ENVELOPPE>").lisible);
    }

    void reponsesConformesAuxSchemas_data()
    {
        QTest::addColumn<QByteArray>("reponse");
        MessagesSim::Requete r = MessagesSim::lit(requeteType);
        r.adresseClient = QStringLiteral("Pharmacie \"Saint-Éloi\" & <fils>");
        r.lignes.clear();
        // Every shape but a time of return: the schema's pattern for it is one its time type never accepts.
        for (const Catalogue::Produit &p : Catalogue::produits()) {
            if (Catalogue::quandEtQuoi(p.cip).value_or(Catalogue::QuandEtQuoi()).heureRetour.isEmpty())
                r.lignes.append({QString::number(r.lignes.size() + 1), QStringLiteral("CIP39"), p.cip});
        }
        r.lignes.append(
            {QStringLiteral("9"), QStringLiteral("CIP39"), QString::fromUtf16(Catalogue::codeInconnu)});
        QTest::newRow("whole catalogue and an unknown code")
            << MessagesSim::repInfoProduit(r, QStringLiteral("SIM1"));
        QTest::newRow("too many lines")
            << MessagesSim::erreur(r, QStringLiteral("SIM6"), QStringLiteral("Trop"), 2);
        QTest::newRow("end of service") << MessagesSim::finService(r, QStringLiteral("SIM2"));
        QTest::newRow("error") << MessagesSim::erreur(r, QStringLiteral("SIM3"),
                                                      QStringLiteral("Client suspendu"));
        QTest::newRow("request without settings")
            << MessagesSim::repInfoProduit(MessagesSim::Requete(), "SIM4");
    }

    void reponsesConformesAuxSchemas()
    {
        if (!QFile::exists(dossierPharmaML(QStringLiteral("xsd/pharmaml-all.xsd"))))
            QSKIP("the shared Pharma-ML material (../shared/pharmaml) is not there");
        QFETCH(QByteArray, reponse);
        QVERIFY(reponse.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CSRP_ENVELOPPE "));
        QCOMPARE(erreursSchemas(reponse), QString());
    }

    void reponses_data()
    {
        QTest::addColumn<QByteArray>("requete");
        QTest::addColumn<int>("chunks");
        QTest::addColumn<QByteArrayList>("attendus"); // the status line first, then what the answer holds
        const auto requete = [](const char *clef) {
            return post(requeteType, MessagesSim::empreinte(requeteType, "0999908", clef));
        };
        const QByteArray page = "Content-Type: text/html; charset=UTF-8\r\n", html = "</html>\n",
                         xml = "</CSRP_ENVELOPPE>\n";
        QTest::newRow("right key") << requete("4083") << 0
                                   << QByteArrayList{"HTTP/1.1 200 OK\r\n",
                                                     "Designation=\"DOLIPRANE 1000MG CPR B/8\"", xml};
        QTest::newRow("only the first four characters of the key count")
            << requete("4083ZZZZ") << 0 << QByteArrayList{"HTTP/1.1 200 OK\r\n", xml};
        QTest::newRow("wrong key") << requete("4084") << 0
                                   << QByteArrayList{"HTTP/1.1 401 Unauthorized\r\n", html};
        // "fa" and "FA": a chunk size's digits in either case, with extensions and a trailer.
        QTest::newRow("chunked") << requete("4083") << 250
                                 << QByteArrayList{"HTTP/1.1 200 OK\r\n",
                                                   "\r\nTransfer-Encoding: chunked\r\n",
                                                   "\r\n\r\nfa;piece=0\r\n<?xml", "\r\nFA;piece=1\r\n",
                                                   "\r\n0;fin=1\r\nX-Controle: ok\r\n\r\n"};
        const QByteArray get = " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        QTest::newRow("information page")
            << "GET /Infos.php?ADL=75%2012" + get << 0
            << QByteArrayList{"HTTP/1.1 200 ", page, "num\xC3\xA9ro ADELI 75 12.", html};
        QTest::newRow("help page") << "GET /solvarin.php" + get << 0
                                   << QByteArrayList{"HTTP/1.1 200 ", page, "Tapez le code CIP", html};
        QTest::newRow("other page") << "GET /index.html" + get << 0
                                    << QByteArrayList{"HTTP/1.1 404 ", page, "Page inconnue", html};
    }

    // The whole answer is read: up to the last text expected, which ends it.
    void reponses()
    {
        QFETCH(QByteArray, requete);
        QFETCH(int, chunks);
        QFETCH(QByteArrayList, attendus);
        SimulateurPharmaML sim;
        sim.options().tailleChunk = chunks;
        QVERIFY(sim.ecoute());
        const QByteArray recu = echange(sim.port(), requete, attendus.last());
        QVERIFY2(recu.startsWith(attendus.first()) && recu.endsWith(attendus.last()), recu.constData());
        for (const QByteArray &attendu : attendus)
            QVERIFY2(recu.contains(attendu), attendu.constData());
        const qsizetype blanc = recu.indexOf("\r\n\r\n");
        QVERIFY(chunks ? !recu.contains("Content-Length")
                       : recu.left(blanc).contains("\r\nContent-Length: " +
                                                   QByteArray::number(recu.size() - blanc - 4)));
    }

    // Every request of a connection is answered in turn; the one that asks for the close is the last.
    void connexionGardee_data()
    {
        QTest::addColumn<QByteArrayList>("requetes"); // written together
        QTest::addColumn<int>("reponses");
        QTest::addColumn<bool>("fermee");
        const QByteArray p = post(requeteType, MessagesSim::empreinte(requeteType, "0999908", "4083"));
        const QByteArray fin = QByteArray(p).replace("Host:", "Connection: close\r\nHost:");
        const QByteArray page = "GET /solvarin.php HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        QTest::newRow("three kept alive") << QByteArrayList{p, p, p} << 3 << false;
        QTest::newRow("close asked by the second") << QByteArrayList{p, fin, p} << 2 << true;
        QTest::newRow("a page, then a query") << QByteArrayList{page, p} << 2 << false;
    }

    void connexionGardee()
    {
        QFETCH(QByteArrayList, requetes);
        QFETCH(int, reponses);
        QFETCH(bool, fermee);
        SimulateurPharmaML sim;
        QVERIFY(sim.ecoute());
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, sim.port());
        QVERIFY(s.waitForConnected(1000));
        s.write(requetes.join());
        QByteArray recu;
        QTRY_COMPARE((recu += s.readAll()).count("HTTP/1.1 200 OK"), reponses);
        QCOMPARE(recu.count("Connection: close"), int(fermee));
        if (fermee)
            QTRY_COMPARE(s.state(), QAbstractSocket::UnconnectedState);
        else
            QCOMPARE(s.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(sim.connexions(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPharmaMLSim)
#include "tst_pharmamlsim.moc"
