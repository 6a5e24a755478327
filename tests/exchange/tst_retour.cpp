#include "modpharmaml.h"

#include "exchange/zoneresultatenregistree.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

const QString untouched = QStringLiteral("<untouched>");
const QString sent = QStringLiteral("\r\nRequête envoyée");

QByteArray envelope(const QByteArray &body,
                    const QByteArray &prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n",
                    const QByteArray &header = "") {
    return prolog +
           "<CSRP_ENVELOPPE xmlns=\"urn:x-csrp:fr.csrp.protocole:enveloppe\" Nature_Action=\"REP_EMISSION\" "
           "Version_Protocole=\"1.0.0.0\" Id_Logiciel=\"GROSSISTE\" Version_Logiciel=\"2.1\" Usage=\"P\">\n"
           "  <ENTETE><EMETTEUR Nature=\"RE\" Code=\"12\" Id=\"04\" Adresse=\"GROSSISTE\"/>"
           "<RECEPTEUR Nature=\"OF\" Code=\"00\" Id=\"12345\" Adresse=\"PHARMACIE\"/>"
           "<REF_MESSAGE>R1</REF_MESSAGE><EN_REPONSE_A>20260305090702</EN_REPONSE_A>"
           "<DATE>2026-03-05T09:07:03</DATE>" +
           header +
           "</ENTETE>\n"
           "  <CORPS><MESSAGE_REPARTITEUR xmlns=\"urn:x-csrp:fr.csrp.protocole:message\">"
           "<ENTETE><EMETTEUR Code_Societe=\"12\" Id_Societe=\"04\"/><DESTINATAIRE "
           "Id_Client=\"12345\"/></ENTETE>"
           "<CORPS>" +
           body + "</CORPS></MESSAGE_REPARTITEUR></CORPS>\n</CSRP_ENVELOPPE>\n";
}

QByteArray info(const QByteArray &lines) {
    return "<REP_INFO_PRODUIT Ref_Demande_Info=\"20260305090702\" Ref_Reponse_Info=\"RR1\">" + lines +
           "</REP_INFO_PRODUIT>";
}

QByteArray line(const QByteArray &designation, const QByteArray &content) {
    return "<LIGNE Num_Ligne=\"1\" Type_Codification=\"CIP39\" Code_Produit=\"3400930260494\"" +
           (designation.isNull() ? QByteArray() : " Designation=\"" + designation + "\"") + ">" + content +
           "</LIGNE>";
}

QByteArray prix(const QByteArray &nature, const QByteArray &valeur) {
    return "<PRIX Nature=\"" + nature + "\" Valeur=\"" + valeur + "\"/>";
}

QByteArray typical() {
    return envelope(info(line("DOLIPRANE 1000MG CPR 8", prix("PHAHT", "0001.234") + prix("PUBTC", "2.50") +
                                                            prix("CSLTC", "3") + "<DISPO/>")));
}

const QString typicalPrices =
    QStringLiteral("Prix d'achat HT hors remise = 1.234\r\nPrix public TTC = 2.50\r\nPrix TTC conseillé = 3");

QString pharmaml() {
    return QStringLiteral(SOLVARIN_SOURCE_DIR "/../shared/pharmaml");
}

} // namespace

class TestRetour : public QObject {
    Q_OBJECT
private slots:
    void init();

    void replies_data();
    void replies();
    void hostileReplies_data();
    void hostileReplies();
    void lastLineStaysOnScreen();
    void realWholesalerMessages_data();
    void realWholesalerMessages();
    void decodeAbsentLine();
    void libellePrix_data();
    void libellePrix();
    void supprimeZerosChangesCallersText();

private:
    void check(const QString &designation, const QString &result, CouleurRVB resultColour,
               const QString &dispo, CouleurRVB dispoColour);
    ZoneResultatEnregistree m_zone;
};

void TestRetour::init() {
    // As the availability query leaves the result area before an exchange.
    m_zone = ZoneResultatEnregistree();
    m_zone.labRetour[0].texte = untouched;
    m_zone.labRetour[1].texte = untouched;
    m_zone.txtInfos[1].texte = sent;
    m_zone.txtInfos[1].couleur = {255, 255, 0};
}

void TestRetour::check(const QString &designation, const QString &result, CouleurRVB resultColour,
                       const QString &dispo, CouleurRVB dispoColour) {
    QCOMPARE(m_zone.labRetour[0].texte, designation);
    QCOMPARE(m_zone.labRetour[1].texte, result);
    if (result != untouched)
        QCOMPARE(m_zone.labRetour[1].couleur, resultColour);
    QCOMPARE(m_zone.txtInfos[1].texte, dispo);
    QCOMPARE(m_zone.txtInfos[1].couleur, dispoColour);
    QCOMPARE(m_zone.labRetour[2].ecritures + m_zone.txtInfos[2].ecritures, 0);
}

void TestRetour::replies_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("designation");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("dispo");

    const QString erreur = QStringLiteral("\r\nREQUETE EN ERREUR");
    const QString disponible = QStringLiteral("\r\nDISPONIBLE");
    const QByteArray dispo = "<DISPO/>";

    const QByteArray decl = "<?xml version=\"1.0\"?>", fin = "<ACTION>FIN_SERVICE</ACTION>";
    const QByteArray xDispo = info(line("X", dispo));
    QTest::newRow("typical three prices, available")
        << typical() << "DOLIPRANE 1000MG CPR 8" << typicalPrices << disponible;
    QTest::newRow("not available with remark")
        << envelope(info(line("SPASFON", prix("PUBTC", "4.10") +
                                             "<NON_DISPO Code_Reponse=\"0005\" Additif=\"Manque Rayon\"/>")))
        << "SPASFON" << "Prix public TTC = 4.10" << "\r\nNON DISPONIBLE \r\n(Manque Rayon)";
    QTest::newRow("NON_DISPO wins over DISPO")
        << envelope(info(line("X", dispo + "<NON_DISPO Additif=\"Rupture\"/>"))) << "X" << ""
        << "\r\nNON DISPONIBLE \r\n(Rupture)";
    QTest::newRow("NON_DISPO without Additif")
        << envelope(info(line("X", "<NON_DISPO/>"))) << "X" << "" << "\r\nNON DISPONIBLE \r\n()";
    QTest::newRow("neither: prices in the box")
        << envelope(info(line("X", prix("PUBTC", "2") + prix("LPPR", "1")))) << "X"
        << "Prix public TTC = 2\r\nBase LPPR = 1" << "\r\nPrix public TTC = 2\r\nBase LPPR = 1";
    QTest::newRow("four prices show three")
        << envelope(info(line("X", prix("PHAHT", "1") + prix("CATHT", "2") + prix("TFR", "3") +
                                       prix("NETHT", "4") + dispo)))
        << "X" << "Prix d'achat HT hors remise = 1\r\nPrix catalogue HT = 2\r\nBase TFR = 3" << disponible;
    QTest::newRow("leading zeros")
        << envelope(info(
               line("X", prix("PUBTC", "000012.50") + prix("NETHT", "0.50") + prix("PTCBT", "0000") + dispo)))
        << "X" << "Prix public TTC = 12.50\r\nPrix achat HT = .50\r\nPrix public TTC boîte = " << disponible;
    QTest::newRow("unknown nature between two known")
        << envelope(info(line("X", prix("PUBTC", "1") + prix("REMISE", "2") + prix("CALTC", "3") + dispo)))
        << "X" << "Prix public TTC = 1\r\n\r\nPrix public TTC calculé = 3" << disponible;
    QTest::newRow("unknown nature first, names are case-sensitive")
        << envelope(info(line("X", prix("phaht", "1") + prix("PUBTC", "2") + dispo))) << "X"
        << "Prix public TTC = 2" << disponible;
    QTest::newRow("PRIX without Nature")
        << envelope(info(line("X", prix("PUBTC", "1") + "<PRIX Valeur=\"2\"/>" + dispo))) << "X"
        << "PML_DecodeUneLigneProduit : Invalid use of Null (94)" << erreur;
    QTest::newRow("PRIX without Valeur")
        << envelope(info(line("X", "<PRIX Nature=\"PUBTC\"/>" + dispo))) << "X"
        << "PML_DecodeUneLigneProduit : Invalid use of Null (94)" << erreur;
    QTest::newRow("fourth PRIX without Nature is never read")
        << envelope(info(line("X", prix("TFR", "1").repeated(3) + "<PRIX/>" + dispo))) << "X"
        << "Base TFR = 1\r\nBase TFR = 1\r\nBase TFR = 1" << disponible;
    QTest::newRow("Description in any case")
        << envelope(info(line("DeScRiPtIoN", dispo))) << "" << "" << disponible;
    QTest::newRow("no designation") << envelope(info(line(QByteArray(), dispo))) << "" << "" << disponible;
    QTest::newRow("FIN_SERVICE wins over the answer")
        << envelope(xDispo, decl, fin) << untouched << "Retour : fin de service" << erreur;
    QTest::newRow("FIN_SERVICE before ERREUR")
        << envelope("<ERREUR Detail=\"Client inconnu\"/>", decl, fin) << untouched
        << "Retour : fin de service" << erreur;
    QTest::newRow("other ACTION")
        << envelope(xDispo, decl, "<ACTION>AUTRE</ACTION>") << "X" << "" << disponible;
    QTest::newRow("ERREUR Detail anywhere wins over the answer")
        << envelope(xDispo, decl, "<ERREUR Detail=\"Service ferme\"/>") << untouched
        << "Retour : Erreur Service ferme" << erreur;
    QTest::newRow("ERREUR in the body without Detail")
        << envelope("<ERREUR Statut=\"11\"/>") << untouched << "Retour : Erreur " << erreur;
    QTest::newRow("only the first ERREUR's Detail counts")
        << envelope("<ERREUR/><ERREUR Detail=\"second\"/>") << untouched << "Retour : Erreur " << erreur;
    QTest::newRow("ERREUR before REP_INFO_PRODUIT")
        << envelope("<ERREUR Detail=\"\"/>" + xDispo) << untouched << "Retour : Erreur " << erreur;
    QTest::newRow("REP_INFO_PRODUIT after another child")
        << envelope("<AUTRE/>" + xDispo) << "X" << "" << disponible;
    QTest::newRow("only another child: nothing shown")
        << envelope("<REP_COMMANDE/>") << untouched << untouched << sent;
    QTest::newRow("empty body") << envelope("") << untouched << untouched << sent;
    QTest::newRow("no declaration: root never examined")
        << envelope(xDispo, "") << untouched << untouched << sent;
    QTest::newRow("no declaration, comment first")
        << envelope(xDispo, "<!-- grossiste -->") << "X" << "" << disponible;
    QTest::newRow("no declaration but FIN_SERVICE still seen")
        << envelope(xDispo, "", fin) << untouched << "Retour : fin de service" << erreur;
    QTest::newRow("no message envelope")
        << decl + "<CSRP_ENVELOPPE><CORPS><CORPS>" + xDispo + "</CORPS></CORPS></CSRP_ENVELOPPE>" << untouched
        << untouched << sent;
    QTest::newRow("other root")
        << decl + "<ENVELOPPE><CORPS><MESSAGE_REPARTITEUR><CORPS>" + xDispo +
               "</CORPS></MESSAGE_REPARTITEUR></CORPS></ENVELOPPE>"
        << untouched << untouched << sent;
    QTest::newRow("prefixed elements")
        << decl + "<e:CSRP_ENVELOPPE xmlns:e=\"urn:e\" xmlns:m=\"urn:m\"><e:CORPS>"
                  "<m:MESSAGE_REPARTITEUR><m:CORPS><m:REP_INFO_PRODUIT><m:LIGNE Designation=\"P\">"
                  "<m:PRIX Nature=\"PUBTC\" Valeur=\"5\"/><m:DISPO/></m:LIGNE></m:REP_INFO_PRODUIT></m:CORPS>"
                  "</m:MESSAGE_REPARTITEUR></e:CORPS></e:CSRP_ENVELOPPE>"
        << "P" << "Prix public TTC = 5" << disponible;
    QTest::newRow("names are case-sensitive")
        << envelope(info("<ligne Designation=\"X\"><DISPO/></ligne>")) << untouched << untouched << sent;
    QTest::newRow("declared ISO-8859-1")
        << envelope(info(line("CR\xC8ME", dispo)), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>")
        << "CRÈME" << "" << disponible;
    QTest::newRow("invalid against its inline definition")
        << decl + "<!DOCTYPE CSRP_ENVELOPPE [<!ELEMENT CSRP_ENVELOPPE EMPTY>]>" + typical().mid(38)
        << untouched << "Retour non conforme" << erreur;
}

void TestRetour::replies() {
    QFETCH(QByteArray, reply);
    QFETCH(QString, designation);
    QFETCH(QString, result);
    QFETCH(QString, dispo);
    ModPharmaML module(m_zone);
    module.PML_TraiteRetour(reply);
    const bool green = dispo == QLatin1String("\r\nDISPONIBLE");
    const bool unchanged = dispo == sent;
    const CouleurRVB resultColour =
        result.startsWith(QLatin1String("Retour")) || result.startsWith(QLatin1String("PML_"))
            ? Couleurs::rouge
            : Couleurs::noir;
    check(designation, result, resultColour, dispo,
          unchanged ? CouleurRVB{255, 255, 0} : (green ? Couleurs::vert : Couleurs::rouge));
}

void TestRetour::hostileReplies_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("result");

    const QString nonConforme = QStringLiteral("Retour non conforme");
    QTest::newRow("empty") << QByteArray() << nonConforme;
    QTest::newRow("truncated") << typical().left(typical().size() / 2) << nonConforme;
    QTest::newRow("HTTP headers left in")
        << "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n" + typical() << nonConforme;
    QTest::newRow("HTML page") << QByteArray("<html><body><p>Erreur 500<br></body></html>") << nonConforme;
    QTest::newRow("NUL inside") << typical().insert(60, QByteArray(1, '\0')) << nonConforme;
    QByteArray noise(4096, Qt::Uninitialized);
    QRandomGenerator(20260305).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("binary") << noise << nonConforme;
    QTest::newRow("binary after a declaration") << "<?xml version=\"1.0\"?>" + noise << nonConforme;
    QTest::newRow("invalid UTF-8") << envelope(info(line("\xFF\xFE\xC3", ""))) << nonConforme;
    QTest::newRow("unknown encoding")
        << envelope("", "<?xml version=\"1.0\" encoding=\"x-inconnu\"?>") << nonConforme;
    QTest::newRow("two envelopes") << typical() + typical().mid(38) << nonConforme;
    QTest::newRow("declaration only") << QByteArray("<?xml version=\"1.0\"?>") << nonConforme;
    QTest::newRow("external entity")
        << "<?xml version=\"1.0\"?><!DOCTYPE CSRP_ENVELOPPE [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" +
               envelope(info(line("&x;", "")), "")
        << nonConforme;
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE CSRP_ENVELOPPE [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                  ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    QTest::newRow("billion laughs") << laughs + "]>" + envelope(info(line("&l9;", "")), "") << nonConforme;
    QTest::newRow("huge attribute") << envelope(info(line(QByteArray(4'000'000, 'D'), "<DISPO/>"))) << "";
    QTest::newRow("100000 prices") << envelope(info(line("X", prix("TFR", "1").repeated(100000))))
                                   << nonConforme;
}

void TestRetour::hostileReplies() {
    QFETCH(QByteArray, reply);
    QFETCH(QString, result);
    ModPharmaML module(m_zone);
    module.PML_TraiteRetour(reply);
    QCOMPARE(m_zone.labRetour[1].texte, result);
    if (result == QLatin1String("Retour non conforme")) {
        QCOMPARE(m_zone.labRetour[0].texte, untouched);
        QCOMPARE(m_zone.txtInfos[1].texte, QStringLiteral("\r\nREQUETE EN ERREUR"));
        QCOMPARE(m_zone.journal.size(), 5); // nothing else happened
    }
}

void TestRetour::lastLineStaysOnScreen() {
    ModPharmaML module(m_zone);
    module.PML_TraiteRetour(
        envelope(info(line("PREMIER", prix("PUBTC", "1") + "<DISPO/>") +
                      line("SECOND", prix("NETHT", "2") + "<NON_DISPO Additif=\"Fin\"/>"))));
    check("SECOND", "Prix achat HT = 2", Couleurs::noir, "\r\nNON DISPONIBLE \r\n(Fin)", Couleurs::rouge);
    QVERIFY(m_zone.journal.contains(QStringLiteral("LabRetour(0)=PREMIER")));
    QCOMPARE(m_zone.evenementsDeroules, 2);
}

void TestRetour::realWholesalerMessages_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("designation");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("dispo");
    QTest::newRow("missing control header")
        << "samples/R_DPCI_controle_absent_v1.xml" << untouched
        << "Retour : Erreur Elément de contrôle (Content-PharmaML) absent."
        << "\r\nREQUETE EN ERREUR";
    QTest::newRow("refusal outside a message")
        << "samples/R_DPCI_refus_v3.xml" << untouched << untouched << sent;
    QTest::newRow("order reply") << "samples/R_DPCI_rep_commande_v1.xml" << untouched << untouched << sent;
    QTest::newRow("product information") << "constructed/REP_INFO_PRODUIT_v48_example.xml" << "" << ""
                                         << "\r\nNON DISPONIBLE \r\n(Manque Rayon)";
}

void TestRetour::realWholesalerMessages() {
    QFETCH(QString, file);
    QFETCH(QString, designation);
    QFETCH(QString, result);
    QFETCH(QString, dispo);
    QFile f(pharmaml() + u'/' + file);
    if (!f.exists())
        QSKIP("the Pharma-ML reference folder ../shared/pharmaml is absent");
    QVERIFY(f.open(QIODevice::ReadOnly));
    ModPharmaML module(m_zone);
    module.PML_TraiteRetour(f.readAll());
    QCOMPARE(m_zone.labRetour[0].texte, designation);
    QCOMPARE(m_zone.labRetour[1].texte, result);
    QCOMPARE(m_zone.txtInfos[1].texte, dispo);
}

void TestRetour::decodeAbsentLine() {
    ModPharmaML module(m_zone);
    QCOMPARE(module.PML_DecodeUneLigneProduit(Xml::Noeud()), QString());
    QCOMPARE(m_zone.journal, QStringList());

    const Xml::Document d =
        Xml::Document::depuisTexte(u"<LIGNE Designation=\"D\"><DISPO/></LIGNE>", Xml::espacesMessage);
    QCOMPARE(module.PML_DecodeUneLigneProduit(d.noeudsDeTete().first()), QStringLiteral("DISPONIBLE"));
}

void TestRetour::libellePrix_data() {
    QTest::addColumn<QString>("nature");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("label");
    // Every known nature is seen through a whole reply above.
    QTest::newRow("known") << "CALTC" << "1" << "Prix public TTC calculé = 1";
    QTest::newRow("case matters") << "Pubtc" << "1" << "";
    QTest::newRow("unknown") << "XYZ" << "007" << "";
    QTest::newRow("amount as received") << "PUBTC" << "00 12,5 €" << "Prix public TTC =  12,5 €";
}

void TestRetour::libellePrix() {
    QFETCH(QString, nature);
    QFETCH(QString, amount);
    QFETCH(QString, label);
    QCOMPARE(ModPharmaML::PML_LibellePrix(nature, amount), label);
}

void TestRetour::supprimeZerosChangesCallersText() {
    QString amount = QStringLiteral("0000.50");
    QCOMPARE(ModPharmaML::PML_SupprimeZeros(amount), QStringLiteral(".50"));
    QCOMPARE(amount, QStringLiteral(".50"));
    QString known = QStringLiteral("0012");
    ModPharmaML::PML_LibellePrix(QStringLiteral("TFR"), known);
    QCOMPARE(known, QStringLiteral("12"));
}

QTEST_GUILESS_MAIN(TestRetour)
#include "tst_retour.moc"
