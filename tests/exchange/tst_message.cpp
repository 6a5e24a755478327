// The request the module builds from the settings, and the screen a reply leaves.
#include "bancechange.h"
#include "constructeurrequete.h"
#include "decodeurretour.h"

#include "referencesmessage.h"
#include "schemaspharmaml.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace {

const QDateTime instant(QDate(2026, 3, 5), QTime(9, 7, 2));

// What the wholesaler computes: Base64 of MD5 over the body's UTF-8 bytes, the client number padded to 16
// with "0" and the key's first 4 characters.
QString credentialOf(const QString &body, const QString &paddedClient, const QString &keyStart)
{
    return QString::fromLatin1(
        QCryptographicHash::hash((body + paddedClient + keyStart).toUtf8(), QCryptographicHash::Md5)
            .toBase64());
}

const QString golden = QStringLiteral(
    R"(<CSRP_ENVELOPPE xmlns="urn:x-csrp:fr.csrp.protocole:enveloppe" )"
    R"(xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" Nature_Action="REQ_EMISSION" )"
    R"(Version_Protocole="1.0.0.0" Id_Logiciel="Ardevio" Version_Logiciel="1.0.1" Usage="P">)"
    R"(<ENTETE><EMETTEUR Nature="OF" Code="00" Id="12345" Adresse="Pharmacie de l Etoile   Gare"/>)"
    R"(<RECEPTEUR Nature="RE" Code="12" Id="04" Adresse="REPARTITEUR SUD"/>)"
    R"(<REF_MESSAGE>20260305090702</REF_MESSAGE><DATE>2026-03-05T09:07:02</DATE></ENTETE>)"
    R"(<CORPS><MESSAGE_OFFICINE xmlns="urn:x-csrp:fr.csrp.protocole:message"><ENTETE>)"
    R"(<EMETTEUR Nature_Partenaire="OF" Id_Client="12345"/>)"
    R"(<DESTINATAIRE Nature_Partenaire="RE" Code_Societe="12" Id_Societe="04"/>)"
    R"(<DATE>2026-03-05T09:07:02</DATE></ENTETE><CORPS>)"
    R"(<REQ_INFO_PRODUIT Ref_Req_Info_Produit="20260305090702">)"
    R"(<LIGNE Num_Ligne="1" Type_Codification="EAN13" Code_Produit="3400930260494" Quantite="1"/>)"
    R"(</REQ_INFO_PRODUIT></CORPS></MESSAGE_OFFICINE></CORPS></CSRP_ENVELOPPE>)");

// The LIGNE elements of a request, one after the other.
QString lines(const QString &request)
{
    const qsizetype start = request.indexOf(QLatin1String("<LIGNE "));
    return start < 0 ? QString()
                     : request.mid(start, request.indexOf(QLatin1String("</REQ_INFO_PRODUIT>")) - start);
}

QString line(int number, const QString &code, const QString &quantity)
{
    return QStringLiteral(
               R"(<LIGNE Num_Ligne="%1" Type_Codification="CIP39" Code_Produit="%2" Quantite="%3"/>)")
        .arg(number)
        .arg(code, quantity);
}

QString attribute(const QString &request, const QString &element, const QString &name)
{
    const QRegularExpression re(u'<' + element + QStringLiteral(R"( [^>]*\b)") + name +
                                QStringLiteral("=\"([^\"]*)\""));
    return re.match(request).captured(1);
}

// ---- Replies

QByteArray envelope(const QByteArray &body, const QByteArray &prolog = "<?xml version=\"1.0\"?>\n",
                    const QByteArray &header = "")
{
    return prolog +
           "<CSRP_ENVELOPPE xmlns=\"urn:x-csrp:fr.csrp.protocole:enveloppe\" "
           "Nature_Action=\"REP_EMISSION\">\n"
           "  <ENTETE><REF_MESSAGE>R1</REF_MESSAGE>" +
           header +
           "</ENTETE>\n  <CORPS><MESSAGE_REPARTITEUR xmlns=\"urn:x-csrp:fr.csrp.protocole:message\">"
           "<ENTETE/><CORPS>" +
           body + "</CORPS></MESSAGE_REPARTITEUR></CORPS>\n</CSRP_ENVELOPPE>\n";
}

QByteArray info(const QByteArray &lines)
{
    return "<REP_INFO_PRODUIT Ref_Demande_Info=\"20260305090702\">" + lines + "</REP_INFO_PRODUIT>";
}

QByteArray ligne(const QByteArray &designation, const QByteArray &content)
{
    return "<LIGNE Num_Ligne=\"1\" Designation=\"" + designation + "\">" + content + "</LIGNE>";
}

QByteArray prix(const QByteArray &nature, const QByteArray &valeur)
{
    return "<PRIX Nature=\"" + nature + "\" Valeur=\"" + valeur + "\"/>";
}

// The screen of account 1 a reply leaves: a null text is a place left as it was. The result label is red for
// an error, the box green only for "DISPONIBLE".
QStringList ecran(const QString &designation, const QString &resultat, const QString &dispo)
{
    QStringList l;
    if (!designation.isNull())
        l << QStringLiteral("LabRetour(0)\t#000000\t") + designation;
    const bool erreur =
        resultat.startsWith(QLatin1String("Retour")) || resultat.startsWith(QLatin1String("PML_"));
    if (!resultat.isNull())
        l << QStringLiteral("LabRetour(1)\t%1\t").arg(QLatin1String(erreur ? "#FF0000" : "#000000")) +
                 echappeSortie(resultat);
    if (!dispo.isNull())
        l << QStringLiteral("txtInfos(1)\t%1\t")
                     .arg(QLatin1String(dispo == QLatin1String("DISPONIBLE") ? "#00FF00" : "#FF0000")) +
                 echappeSortie(QStringLiteral("\r\n") + dispo);
    return l;
}

} // namespace

class TestMessage : public BancEchange {
    Q_OBJECT
private slots:
    void init()
    {
        prepare([] { return instant; });
    }
    void cleanup() { libere(); }

    void wholeRequestForFixedClock()
    {
        regle("AdrPharmacie", "Pharmacie de l'Étoile - Gare");
        regle("IdRepart1", "12");
        regle("CodeRepart1", "04");
        regle("NumeroCli1", "12345");
        regle("ClefCli1", "4083ABCD");
        regle("AdrRepart1", "REPARTITEUR SUD");
        QCOMPARE(construit(QStringLiteral("3400930260494,1")), QString());
        QCOMPARE(requete().requeteXML(), golden);
        QCOMPARE(requete().empreinteRequete(), credentialOf(golden, "1234500000000000", "4083"));
        QCOMPARE(m_zone->lignes(), QStringList()); // nothing shown
    }
    void credentialOfRealWholesalerVector()
    {
        QFile sample(dossierPharmaML(QStringLiteral("samples/C_DPCI_commande_v1.xml")));
        if (!sample.open(QIODevice::ReadOnly))
            QSKIP("the Pharma-ML reference folder ../shared/pharmaml is absent");
        const QByteArray bytes = sample.readAll();
        QVERIFY(!bytes.contains('\r'));
        QCOMPARE(ConstructeurRequete().empreinte(QString::fromUtf8(bytes), QStringLiteral("0999908"),
                                                 QStringLiteral("4083")),
                 QStringLiteral("jbRS0FUm//7Dq2m4sJg0rQ=="));
    }
    void completeAccountSatisfiesSchemas()
    {
        if (!QFile::exists(dossierPharmaML(QStringLiteral("xsd/pharmaml-all.xsd"))))
            QSKIP("the Pharma-ML reference folder ../shared/pharmaml is absent");
        compte(1, QStringLiteral("http://127.0.0.1/pml"), 80, QStringLiteral("4083"));
        m_compte.adrPharmacie = QStringLiteral("Pharmacie de la Gare");
        m_compte.adrRepart = QStringLiteral("DPCI");
        QCOMPARE(construit(QStringLiteral("3400930260494,1;3153342,2")), QString());
        QCOMPARE(erreursSchemas(requete().requeteXML().toUtf8()), QString());
    }
    // Messages sent within one second: each account's first keeps the 14 digits, later ones get "-2", "-3";
    // the body carries the same reference, and the schemas take it.
    void referencesWithinOneSecond()
    {
        ReferencesMessage references;
        ConstructeurRequete &requete = this->requete();
        QStringList vues;
        for (const qint16 n : {1, 1, 2, 1}) {
            QCOMPARE(requete.construit(QStringLiteral("3582910,1"), CompteEssai().compte(n), &references),
                     QString());
            QCOMPARE(attribute(requete.requeteXML(), "REQ_INFO_PRODUIT", "Ref_Req_Info_Produit"),
                     requete.refMessage());
            vues << requete.refMessage();
        }
        QCOMPARE(vues,
                 (QStringList{"20260305090702", "20260305090702-2", "20260305090702", "20260305090702-3"}));
        if (QFile::exists(dossierPharmaML(QStringLiteral("xsd/pharmaml-all.xsd"))))
            QCOMPARE(erreursSchemas(requete.requeteXML().toUtf8()), QString());
    }
    // Every setting, its key in any letter case; a key written empty is there, one not written is absent, and
    // another account's keys are not this one's.
    void settingsReadFromTheFile()
    {
        QFile ini(chemin(QStringLiteral("Solvarin.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(
            "[Infos]\r\nNomRepart2=a\r\nIdRepart2=b\r\nCodeRepart2=c\r\nAdrRepart2=d\r\nURLRepart2=e\r\n"
            "PortRepart2=f\r\nURLSecours2=g\r\nportsecours2=h\r\nNumeroCli2=i\r\nClefCli2=\r\n"
            "AdrPharmacie=k\r\nProxy=l\r\nCertificatsAC=m\r\nIdRepart1=n\r\n");
        ini.close();
        const CompteRepartiteur c = CompteRepartiteur::lis(2);
        const QList<std::optional<QString>> lus{c.nomRepart,    c.idRepart,   c.codeRepart,   c.adrRepart,
                                                c.urlRepart,    c.portRepart, c.urlSecours,   c.portSecours,
                                                c.numeroCli,    c.clefCli,    c.adrPharmacie, c.proxy,
                                                c.certificatsAC};
        QCOMPARE(lus, (QList<std::optional<QString>>{"a", "b", "c", "d", "e", "f", "g", "h", "i", "", "k",
                                                     "l", "m"}));
        QCOMPARE(CompteRepartiteur::lis(1).nomRepart, std::nullopt);
    }
    // An accent travels as UTF-8 and is signed so; a number of 16 or more is not padded; the wholesaler's
    // address is cut to 28.
    void settingsAsSent()
    {
        regle("CodeRepart1", "Société");
        regle("NumeroCli1", "123456789012345678");
        regle("ClefCli1", "é!");
        regle("AdrRepart1", "0123456789012345678901234567890123456789");
        QCOMPARE(construit(QStringLiteral("1234567,1")), QString());
        const QString request = requete().requeteXML();
        QCOMPARE(attribute(request, "RECEPTEUR", "Id"), QStringLiteral("Société"));
        QCOMPARE(attribute(request, "RECEPTEUR", "Adresse"), QStringLiteral("0123456789012345678901234567"));
        QCOMPARE(requete().empreinteRequete(), credentialOf(request, "123456789012345678", "é!"));
    }
    void productLines_data()
    {
        QTest::addColumn<QString>("lignes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not numeric gives 1") << "1234567,x" << line(1, "1234567", "1");
        QTest::newRow("absolute value, short form") << "1234567,-2.50" << line(1, "1234567", "2.5");
        QTest::newRow("exponent") << "1234567,1e3" << line(1, "1234567", "1000");
        QTest::newRow("too small for a double") << "1234567,1e-400" << line(1, "1234567", "0");
        QTest::newRow("minus zero") << "1234567,-0" << line(1, "1234567", "0");
        // An item without exactly one comma is skipped, and keeps its number.
        QTest::newRow("skipped items keep their numbers")
            << " 12 34,1;B;C,2,5;;D,2" << line(1, " 12 34", "1") + line(5, "D", "2");
        QTest::newRow("empty list") << ""
                                    << "";
        QStringList items;
        QString fifty;
        for (int i = 1; i <= 51; ++i) {
            items << QStringLiteral("%1,%2").arg(1000000 + i).arg(i);
            if (i <= 50)
                fifty += line(i, QString::number(1000000 + i), QString::number(i));
        }
        QTest::newRow("50 items") << items.first(50).join(u';') << fifty;
        QTest::newRow("fifty of 51") << items.join(u';') << fifty;
    }
    void productLines()
    {
        QFETCH(QString, lignes);
        QFETCH(QString, expected);
        QCOMPARE(construit(lignes), QString());
        QCOMPARE(lines(requete().requeteXML()), expected);
        if (expected.isEmpty())
            QVERIFY(requete().requeteXML().contains(QLatin1String(
                R"(<REQ_INFO_PRODUIT Ref_Req_Info_Produit="20260305090702"></REQ_INFO_PRODUIT>)")));
    }
    // Shown, and the request still completed and signed, without its body; without settings, the client
    // number's default is not the one the credential pads with.
    void overflowWithoutSettings()
    {
        QCOMPARE(construit(QStringLiteral("1234567,1e400")), QString());
        QCOMPARE(m_zone->lignes(), erreur("PML_ConstruitCorpsInfoProduit : Overflow (6)"));
        const QString request = requete().requeteXML();
        QVERIFY(
            request.endsWith(QLatin1String("</DATE></ENTETE></MESSAGE_OFFICINE></CORPS></CSRP_ENVELOPPE>")));
        QCOMPARE(attribute(request, "EMETTEUR", "Id"), QStringLiteral("000000"));
        QCOMPARE(requete().empreinteRequete(), credentialOf(request, QString(16, u'0'), ""));
    }
    // Read, filtered and cut to 128 once per run.
    void pharmacyNameReadOncePerRun()
    {
        regle("AdrPharmacie", QString(100, u'a') + QString(100, u'é'));
        construit(QStringLiteral("1234567,1"));
        m_compte.adrPharmacie = QStringLiteral("Pharmacie Neuve");
        construit(QStringLiteral("1234567,1"));
        QCOMPARE(attribute(requete().requeteXML(), "EMETTEUR", "Adresse"),
                 QString(100, u'a') + QString(28, u'e'));
        QCOMPARE(ConstructeurRequete().PML_AdressePharmacie(m_compte), QStringLiteral("Pharmacie Neuve"));
    }
    // The letters of the folding table become the base letter Unicode decomposes them into; the other
    // accented letters, like any character but ASCII letters and digits, become blanks.
    void textFilterFoldsAsUnicode()
    {
        const QString table = QStringLiteral("àâäáåªçèéêëïîìíñôöòóüùûúÄÅÇÉÑÖÜ");
        ConstructeurRequete constructeur;
        int folded = 0;
        for (char16_t u = 0xA0; u <= 0xFF; ++u) {
            // A letter without decomposition meets its terminating null, which is no letter.
            const QChar c(u), base = *c.decomposition().constData();
            if (base.unicode() > 0x7F || !base.isLetter())
                continue;
            folded += table.contains(c);
            QCOMPARE(constructeur.PML_FiltreTexte(QStringLiteral("a%1b").arg(c)),
                     QStringLiteral("a%1b").arg(table.contains(c) ? base : QChar(u' ')));
        }
        QCOMPARE(folded, table.size());
    }
    void insertedValuesEscaped()
    {
        regle("NumeroCli1", R"(12"/><INJECTE a="1)");
        regle("AdrRepart1", "A&B <Sud>");
        QCOMPARE(construit(QStringLiteral("12&3<4>\"5,1")), QString());
        const Xml::Document request = Xml::Document::depuisTexte(requete().requeteXML());
        QVERIFY(request.estAnalyse());
        QVERIFY(request.elementsParNom(u"INJECTE").isEmpty());
        QCOMPARE(request.elementsParNom(u"EMETTEUR").first().attribut(u"Id"),
                 std::optional<QString>(R"(12"/><INJECTE a="1)"));
        QCOMPARE(request.elementsParNom(u"RECEPTEUR").first().attribut(u"Adresse"),
                 std::optional<QString>("A&B <Sud>"));
        QCOMPARE(request.elementsParNom(u"LIGNE").first().attribut(u"Code_Produit"),
                 std::optional<QString>(QStringLiteral("12&3<4>\"5")));
    }
    // The last control character XML 1.0 forbids: the request is built, the parser's complaint returned.
    void forbiddenCharacterReportedButRequestBuilt()
    {
        regle("IdRepart1", QStringLiteral("A\u001fB"));
        const QStringList parts = construit(QStringLiteral("1234567,1")).split(QStringLiteral("\r\n"));
        QCOMPARE(parts.size(), 4);
        QVERIFY(parts[1].size() > 8); // a reason follows
        QCOMPARE((QStringList{parts[0], parts[1].left(8), parts[2].left(24), parts[3]}),
                 (QStringList{"Erreur de validation ", "Raison: ", "Source: <CSRP_ENVELOPPE ", "Ligne: 1"}));
        QVERIFY(requete().requeteXML().contains(QStringLiteral("Code=\"A\u001fB\"")));
        QCOMPARE(m_zone->lignes(), QStringList()); // returned, not shown
    }

    void replies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("screen");

        const QString nonEcrit, erreur = QStringLiteral("REQUETE EN ERREUR"),
                                dispo = QStringLiteral("DISPONIBLE");
        const QString invalidUseOfNull =
            QStringLiteral("PML_DecodeUneLigneProduit : Invalid use of Null (94)");
        const QByteArray decl = "<?xml version=\"1.0\"?>", fin = "<ACTION>FIN_SERVICE</ACTION>";
        const QByteArray xDispo = info(ligne("X", "<DISPO/>"));
        const auto row = [](const char *name, const QByteArray &reply, const QStringList &screen) {
            QTest::newRow(name) << reply << screen;
        };

        row("typical three prices, available",
            envelope(info(ligne("DOLIPRANE 1000MG CPR 8", prix("PHAHT", "0001.234") + prix("PUBTC", "2.50") +
                                                              prix("CSLTC", "3") + "<DISPO/>"))),
            ecran("DOLIPRANE 1000MG CPR 8",
                  "Prix d'achat HT hors remise = 1.234\r\nPrix public TTC = 2.50\r\nPrix TTC conseillé = 3",
                  dispo));
        row("amounts of zeros only lose their leading zeros, nothing more",
            envelope(info(ligne("X", prix("PHAHT", "0000") + prix("NETHT", "0,00") + prix("PUBTC", "00.50") +
                                         "<DISPO/>"))),
            ecran("X", "Prix d'achat HT hors remise = \r\nPrix achat HT = ,00\r\nPrix public TTC = .50",
                  dispo));
        row("not available with remark",
            envelope(
                info(ligne("SPASFON", prix("PUBTC", "4.10") +
                                          "<NON_DISPO Code_Reponse=\"0005\" Additif=\"Manque Rayon\"/>"))),
            ecran("SPASFON", "Prix public TTC = 4.10", "NON DISPONIBLE \r\n(Manque Rayon)"));
        row("NON_DISPO wins over DISPO", envelope(info(ligne("X", "<DISPO/><NON_DISPO Additif=\"R\"/>"))),
            ecran("X", "", "NON DISPONIBLE \r\n(R)"));
        row("neither: prices in the box", envelope(info(ligne("X", prix("PUBTC", "2") + prix("LPPR", "1")))),
            ecran("X", "Prix public TTC = 2\r\nBase LPPR = 1", "Prix public TTC = 2\r\nBase LPPR = 1"));
        // The fourth price is never read, however incomplete.
        row("four prices show three",
            envelope(info(
                ligne("X", prix("PHAHT", "1") + prix("CATHT", "2") + prix("TFR", "3") + "<PRIX/><DISPO/>"))),
            ecran("X", "Prix d'achat HT hors remise = 1\r\nPrix catalogue HT = 2\r\nBase TFR = 3", dispo));
        row("unknown nature between two known, names are case-sensitive",
            envelope(
                info(ligne("X", prix("PUBTC", "1") + prix("pubtc", "2") + prix("CALTC", "3") + "<DISPO/>"))),
            ecran("X", "Prix public TTC = 1\r\n\r\nPrix public TTC calculé = 3", dispo));
        row("PRIX without Nature", envelope(info(ligne("X", "<PRIX Valeur=\"2\"/><DISPO/>"))),
            ecran("X", invalidUseOfNull, erreur));
        row("PRIX without Valeur",
            envelope(info(ligne("X", prix("PUBTC", "1") + "<PRIX Nature=\"PUBTC\"/>"))),
            ecran("X", invalidUseOfNull, erreur));
        row("Description in any case", envelope(info(ligne("DeScRiPtIoN", "<DISPO/>"))),
            ecran("", "", dispo));
        row("the last line stays on screen",
            envelope(
                info(ligne("PREMIER", "<DISPO/>") + ligne("SECOND", prix("NETHT", "2") + "<NON_DISPO/>"))),
            ecran("SECOND", "Prix achat HT = 2", "NON DISPONIBLE \r\n()"));
        row("FIN_SERVICE wins over an error and the answer",
            envelope(xDispo, decl, fin + "<ERREUR Detail=\"Client inconnu\"/>"),
            ecran(nonEcrit, "Retour : fin de service", erreur));
        row("other ACTION", envelope(xDispo, decl, "<ACTION>AUTRE</ACTION>"), ecran("X", "", dispo));
        row("ERREUR Detail anywhere wins over the answer",
            envelope(xDispo, decl, "<ERREUR Detail=\"Service ferme\"/>"),
            ecran(nonEcrit, "Retour : Erreur Service ferme", erreur));
        // An ERREUR always says why: its Detail, else its Statut in words, else its free description.
        row("ERREUR without Detail before REP_INFO_PRODUIT", envelope("<ERREUR Statut=\"11\"/>" + xDispo),
            ecran(nonEcrit, "Retour : Erreur 11 : contrôle d'intégrité en échec (clef secrète)", erreur));
        row("ERREUR Statut Pharma-ML does not define", envelope("<ERREUR Statut=\"0042\"/>"),
            ecran(nonEcrit, "Retour : Erreur 42", erreur));
        row("ERREUR Statut wins over a free description",
            envelope("<ERREUR Statut=\"102\" Description_libre=\"Refus\"/>"),
            ecran(nonEcrit, "Retour : Erreur 102 : pharmacie non autorisée", erreur));
        row("ERREUR that says nothing", envelope("<ERREUR Detail=\"\"/>"),
            ecran(nonEcrit, "Retour : Erreur sans description", erreur));
        row("ERREUR in the envelope's CORPS",
            decl + "<CSRP_ENVELOPPE><ENTETE/><CORPS><ERREUR Description_libre=\"Enveloppe refusee\"/></CORPS>"
                   "</CSRP_ENVELOPPE>",
            ecran(nonEcrit, "Retour : Erreur Enveloppe refusee", erreur));
        row("REP_INFO_PRODUIT after another child", envelope("<AUTRE/>" + xDispo), ecran("X", "", dispo));
        row("only another child: nothing shown", envelope("<REP_COMMANDE/>"), {});
        row("no declaration: the root is never examined", envelope(xDispo, ""), {});
        row("no declaration, comment first", envelope(xDispo, "<!-- grossiste -->"), ecran("X", "", dispo));
        row("byte order mark, then declaration", envelope(xDispo, "\xEF\xBB\xBF" + decl),
            ecran("X", "", dispo));
        row("declared ISO-8859-1",
            envelope(info(ligne("CR\xC8ME", "<DISPO/>")), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"),
            ecran("CRÈME", "", dispo));
        row("no message envelope",
            decl + "<CSRP_ENVELOPPE><CORPS><CORPS>" + xDispo + "</CORPS></CORPS></CSRP_ENVELOPPE>", {});
        row("prefixed elements",
            decl + "<e:CSRP_ENVELOPPE xmlns:e=\"urn:e\" xmlns:m=\"urn:m\"><e:CORPS><m:MESSAGE_REPARTITEUR>"
                   "<m:CORPS><m:REP_INFO_PRODUIT><m:LIGNE Designation=\"P\"><m:PRIX Nature=\"PUBTC\" "
                   "Valeur=\"5\"/>"
                   "<m:DISPO/></m:LIGNE></m:REP_INFO_PRODUIT></m:CORPS></m:MESSAGE_REPARTITEUR></e:CORPS>"
                   "</e:CSRP_ENVELOPPE>",
            ecran("P", "Prix public TTC = 5", dispo));
        // How the parser refuses is its own test; here, that a refusal shows as one.
        row("truncated", envelope(xDispo).first(150), ecran(nonEcrit, nonConforme, erreur));
        row("invalid UTF-8", envelope(info(ligne("\xFF\xFE\xC3", ""))), ecran(nonEcrit, nonConforme, erreur));

        const auto sample = [&row](const char *name, const QString &file, const QStringList &screen) {
            QFile f(dossierPharmaML(file));
            if (f.open(QIODevice::ReadOnly))
                row(name, f.readAll(), screen);
        };
        sample("real: missing control header", "samples/R_DPCI_controle_absent_v1.xml",
               ecran(nonEcrit, "Retour : Erreur Elément de contrôle (Content-PharmaML) absent.", erreur));
        const QString refus = QStringLiteral("Retour : Erreur [CSRPMessage] CSRP enveloppe invalide : le "
                                             "document XML fourni n'est pas un element "
                                             "<CSRP_ENVELOPPE> valide : [<?xml version=\"1.");
        sample("real: refusal outside a message", "samples/R_DPCI_refus_v3.xml",
               ecran(nonEcrit, refus, erreur));
        sample("real: product information", "constructed/REP_INFO_PRODUIT_v48_example.xml",
               ecran("", "Disponible à partir du 05/01/2026\r\nRemplacé par : 3232018 (équivalent livré)",
                     "NON DISPONIBLE \r\n(Manque Rayon)"));
        // When and instead, below the prices; the box as the Parts give it.
        sample("real: AUTRE with a date and a comment", "real-shapes/autre-date.xml",
               ecran("",
                     "Prix achat HT = 20.1\r\nPrix d'achat HT hors remise = 20.1\r\nDisponible à partir du "
                     "08/02/2025 "
                     "(quantité : 1)\r\nDCOL nationale, livraison demain matin",
                     "Prix achat HT = 20.1\r\nPrix d'achat HT hors remise = 20.1"));
        sample("real: replaced", "real-shapes/non-dispo-remplacant.xml",
               ecran("",
                     "Remplacé par : 4052199274713 MOLICAR PREM FIXPANT LONLEG XL3 (remplaçant livré)\r\n"
                     "Prix achat HT = 7.24\r\nPrix d'achat HT hors remise = 7.24",
                     "NON DISPONIBLE \r\n(Produit remplace)"));
        sample("real: AUTRE with a date and a replacement", "real-shapes/autre-date-remplacant.xml",
               ecran("SLIP MOLIPANTS SOFT EXL BT3",
                     "Disponible à partir du 12/02/2025\r\nRemplacé par : 4052199274713 SLIP MOLICARE PREM "
                     "FIX EXL 3 "
                     "(remplaçant livré)\r\nPrix achat HT = 7.240\r\nPrix d'achat HT hors remise = 7.240\r\n"
                     "0003REMPLACE PAR LE NOUVEAU",
                     ""));
        sample("real: ERREUR with Statut and Detail", "real-shapes/erreur-statut-detail.xml",
               ecran(nonEcrit, "Retour : Erreur Etablissement non disponible", erreur));
        sample("real: ERREUR with a Statut alone", "real-shapes/erreur-statut-seul.xml",
               ecran(nonEcrit, "Retour : Erreur 103 : service non autorisé pour cette pharmacie", erreur));
        sample("real: envelope ERREUR with a free description", "real-shapes/erreur-description-libre.xml",
               ecran(nonEcrit, refus, erreur));
    }
    void replies()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, screen);
        m_module->PML_TraiteRetour(reply);
        QCOMPARE(m_zone->lignes(), screen);
    }
    // A real reply whose only line is replaced: what a line says beyond its prices, as decoded, and whether
    // the reply satisfies the schemas (a time, a date that is none, an unknown kind do not).
    void whenAndInstead_data()
    {
        QTest::addColumn<QByteArray>("ligne");
        QTest::addColumn<bool>("valide");
        QTest::addColumn<QStringList>("decode"); // Date_Effet, date, time, quantity, replacement, comment

        const auto row = [](const char *name, const QByteArray &content, bool valide,
                            const QStringList &decode) {
            QTest::newRow(name)
                << "<LIGNE Num_Ligne=\"1\" Num_Ligne_Demande=\"1\" Type_Codification=\"CIP39\" "
                   "Code_Produit=\"3582910\">" +
                       content + "</LIGNE>"
                << valide << decode;
        };
        const QByteArray nd = "<NON_DISPO Code_Reponse=\"0004\" Additif=\"Rupture\"", fin = "</NON_DISPO>";
        const QByteArray remplacant =
            "<PRODUIT_REMPLACANT_ND Type_Remplacement=\"EP\" Type_Codification=\"EAN13\" "
            "Code_Produit=\"3400927563398\" Designation=\"EFFERALGAN\"><PRIX_ND "
            "Nature=\"NETHT\" Valeur=\"1.5\"/><PRIX_ND Nature=\"PUBTC\" Valeur=\"2.2\"/>"
            "</PRODUIT_REMPLACANT_ND>";
        const QString ep = QStringLiteral("EP EAN13 3400927563398 EFFERALGAN NETHT=1.5 PUBTC=2.2");

        row("not available, nothing more", nd + "/>", true, {"", "", "", "", "", ""});
        const QByteArray tout = " Date_Effet=\"2026-06-01\" Commentaire=\"Retour semaine 23\">"
                                "<INFOS_DISPO_ND Date=\"2026-06-15\" Quantite=\"12\"/>";
        row("every element and attribute", nd + tout + remplacant + fin, true,
            {"2026-06-01", "2026-06-15", "", "12", ep, "Retour semaine 23"});
        row("a time, as the schema writes it",
            nd + "><INFOS_DISPO_ND Date=\"2026-06-15\" Heure=\"14:30\"/>" + fin, false,
            {"", "2026-06-15", "14:30", "", "", ""});
        row("quantity without a date", nd + "><INFOS_DISPO_ND Quantite=\"3\"/>" + fin, true,
            {"", "", "", "3", "", ""});
        row("a date that is no date", nd + "><INFOS_DISPO_ND Date=\"2026-02-30\" Quantite=\"3\"/>" + fin,
            false, {"", "", "", "3", "", ""});
        row("a time past midnight, a quantity of none",
            nd + "><INFOS_DISPO_ND Date=\"2026-06-15\" Heure=\"25:10\" Quantite=\"0\"/>" + fin, false,
            {"", "2026-06-15", "", "", "", ""});
        row("replacement alone", nd + ">" + remplacant + fin, true, {"", "", "", "", ep, ""});
        row("unknown kind of replacement",
            nd +
                "><PRODUIT_REMPLACANT_ND Type_Remplacement=\"XX\" Type_Codification=\"CIP39\" "
                "Code_Produit=\"2756339\"/>" +
                fin,
            false, {"", "", "", "", "XX CIP39 2756339", ""});
        row("AUTRE with date and replacement",
            "<PRIX Nature=\"NETHT\" Valeur=\"20.1\"/><AUTRE Commentaire=\"Nouveau "
            "conditionnement\"><INFOS_DISPO_AU "
            "Date=\"2025-02-12\"/><PRODUIT_REMPLACANT_AU Type_Remplacement=\"RL\" "
            "Type_Codification=\"EAN13\" "
            "Code_Produit=\"4052199274713\"><PRIX_AU Nature=\"PHAHT\" "
            "Valeur=\"7.240\"/></PRODUIT_REMPLACANT_AU>"
            "</AUTRE>",
            true,
            {"", "2025-02-12", "", "", "RL EAN13 4052199274713 PHAHT=7.240", "Nouveau conditionnement"});
    }
    void whenAndInstead()
    {
        QFETCH(QByteArray, ligne);
        QFETCH(bool, valide);
        QFETCH(QStringList, decode);
        QFile modele(dossierPharmaML(QStringLiteral("real-shapes/non-dispo-remplacant.xml")));
        if (!modele.open(QIODevice::ReadOnly))
            QSKIP("the shared Pharma-ML material (../shared/pharmaml) is not there");
        QByteArray reponse = modele.readAll();
        const qsizetype debut = reponse.indexOf("<LIGNE ");
        reponse.replace(debut, reponse.indexOf("</LIGNE>") + 8 - debut, ligne);
        QCOMPARE(erreursSchemas(reponse).isEmpty(), valide);

        const ResultatEchange resultat = DecodeurRetour::decode(reponse);
        QCOMPARE(resultat.lignes.size(), 1);
        const LigneReponse &l = resultat.lignes.first();
        const auto &r = l.remplacant;
        QStringList remplacant{r.typeRemplacement, r.typeCodification, r.codeProduit, r.designation};
        for (const PrixLigne &p : r.prix)
            remplacant << p.nature + u'=' + p.valeur;
        remplacant.removeAll(QString());
        QCOMPARE((QStringList{l.dateEffet, l.retourPrevu.date.toString(Qt::ISODate), l.retourPrevu.heure,
                              l.retourPrevu.quantite, remplacant.join(u' '), l.commentaire}),
                 decode);
    }
};

QTEST_GUILESS_MAIN(TestMessage)
#include "tst_message.moc"
