#include "modpharmaml.h"

#include "exchange/zoneresultatenregistree.h"
#include "fichierini.h"
#include "windows1252.h"

#include "schemaspharmaml.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Settings = QList<std::pair<QString, QString>>;

namespace {

const QDateTime instant(QDate(2026, 3, 5), QTime(9, 7, 2));

// What the wholesaler computes: Base64 of MD5 over the body's UTF-8 bytes, the client number padded
// to 16 with "0" and the key's first 4 characters.
QString credentialOf(const QString &body, const QString &paddedClient, const QString &keyStart) {
    return QString::fromLatin1(
        QCryptographicHash::hash((body + paddedClient + keyStart).toUtf8(), QCryptographicHash::Md5)
            .toBase64());
}

QString golden() {
    return QStringLiteral(
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
}

// The LIGNE elements of a request, one after the other.
QString lines(const QString &request) {
    const qsizetype start = request.indexOf(QLatin1String("<LIGNE "));
    if (start < 0)
        return {};
    return request.mid(start, request.indexOf(QLatin1String("</REQ_INFO_PRODUIT>")) - start);
}

QString line(int number, const QString &code, const QString &quantity) {
    return QStringLiteral(
               R"(<LIGNE Num_Ligne="%1" Type_Codification="CIP39" Code_Produit="%2" Quantite="%3"/>)")
        .arg(number)
        .arg(code, quantity);
}

QString attribute(const QString &request, const QString &element, const QString &name) {
    const QRegularExpression re(u'<' + element + QStringLiteral(R"( [^>]*\b)") + name +
                                QStringLiteral("=\"([^\"]*)\""));
    return re.match(request).captured(1);
}

} // namespace

class TestRequete : public QObject {
    Q_OBJECT
private slots:
    void init();

    void wholeRequestForFixedClock();
    void secondAccountUsesItsOwnKeys();
    void credentialInput_data();
    void credentialInput();
    void credentialOfRealWholesalerVector();
    void defaultsWithoutSettingsFile();
    void receiverAddress_data();
    void receiverAddress();
    void productLines_data();
    void productLines();
    void onlyFiftyItemsExamined();
    void quantityBeyondDoubleShowsOverflow();
    void clockReadInOrder();
    void sameSecondSameReference();
    void pharmacyNameReadOncePerRun();
    void pharmacyNameCutTo128();
    void insertedValuesEscaped_data();
    void insertedValuesEscaped();
    void accentedValueTravelsAsUtf8();
    void forbiddenCharacterReportedButRequestBuilt();
    void completeAccountSatisfiesSchemas();

private:
    void writeIni(const Settings &values);
    std::unique_ptr<QTemporaryDir> m_dir;
    ZoneResultatEnregistree m_zone;
    std::unique_ptr<ModPharmaML> m_module;
};

void TestRequete::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    FichierINI::setRepertoireProgramme(m_dir->path());
    m_zone = ZoneResultatEnregistree();
    m_module = std::make_unique<ModPharmaML>(m_zone, [] { return instant; });
}

void TestRequete::writeIni(const Settings &values) {
    QByteArray bytes = "[Infos]\r\n";
    for (const auto &[key, value] : values)
        bytes += Windows1252::fromText(key + u'=' + value) + "\r\n";
    QFile file(m_dir->filePath(QStringLiteral("Solvarin.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestRequete::wholeRequestForFixedClock() {
    writeIni({{"AdrPharmacie", "Pharmacie de l'Étoile - Gare"},
              {"IdRepart1", "12"},
              {"CodeRepart1", "04"},
              {"NumeroCli1", "12345"},
              {"ClefCli1", "4083ABCD"},
              {"AdrRepart1", "REPARTITEUR SUD"}});
    const QString message = m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("3400930260494,1"), 1);

    QCOMPARE(message, QString());
    QCOMPARE(m_module->RequeteXML(), golden());
    QCOMPARE(m_module->RefMessage(), QStringLiteral("20260305090702"));
    QCOMPARE(m_module->NumeroCliRequete(), QStringLiteral("12345"));
    QCOMPARE(m_module->EmpreinteRequete(), credentialOf(golden(), "1234500000000000", "4083"));
    QCOMPARE(m_module->EmpreinteRequete().size(), 24);
    QCOMPARE(m_zone.journal, QStringList()); // nothing shown
}

void TestRequete::secondAccountUsesItsOwnKeys() {
    writeIni({{"NumeroCli1", "111"},
              {"IdRepart1", "11"},
              {"NumeroCli2", "222"},
              {"IdRepart2", "22"},
              {"ClefCli2", "K2"}});
    m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 2);
    const QString request = m_module->RequeteXML();
    QCOMPARE(attribute(request, "EMETTEUR", "Id"), QStringLiteral("222"));
    QCOMPARE(attribute(request, "EMETTEUR", "Id_Client"), QStringLiteral("222"));
    QCOMPARE(attribute(request, "RECEPTEUR", "Code"), QStringLiteral("22"));
    QCOMPARE(attribute(request, "DESTINATAIRE", "Code_Societe"), QStringLiteral("22"));
    QCOMPARE(m_module->EmpreinteRequete(), credentialOf(request, "2220000000000000", "K2"));
}

void TestRequete::credentialInput_data() {
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("padded");
    QTest::addColumn<QString>("keyStart");

    const QString sixteen(16, u'0');
    QTest::newRow("short number padded to 16")
        << Settings{{"NumeroCli1", "12345"}, {"ClefCli1", "ABCD"}} << "12345" << "1234500000000000" << "ABCD";
    QTest::newRow("absent number: 000000 in the request, 16 zeros in the credential")
        << Settings{{"ClefCli1", "ABCD"}} << "000000" << sixteen << "ABCD";
    QTest::newRow("empty number")
        << Settings{{"NumeroCli1", ""}, {"ClefCli1", "ABCD"}} << "" << sixteen << "ABCD";
    QTest::newRow("number of 18 unchanged") << Settings{{"NumeroCli1", "123456789012345678"}}
                                            << "123456789012345678" << "123456789012345678" << "";
    QTest::newRow("key of 2")
        << Settings{{"NumeroCli1", "7"}, {"ClefCli1", "K9"}} << "7" << "7000000000000000" << "K9";
    QTest::newRow("key of 10 gives 4") << Settings{{"NumeroCli1", "7"}, {"ClefCli1", "ABCDEFGHIJ"}} << "7"
                                       << "7000000000000000" << "ABCD";
    QTest::newRow("absent key gives nothing")
        << Settings{{"NumeroCli1", "7"}} << "7" << "7000000000000000" << "";
}

void TestRequete::credentialInput() {
    QFETCH(Settings, settings);
    QFETCH(QString, id);
    QFETCH(QString, padded);
    QFETCH(QString, keyStart);
    writeIni(settings);

    m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    const QString request = m_module->RequeteXML();
    QCOMPARE(attribute(request, "EMETTEUR", "Id"), id);
    QCOMPARE(attribute(request, "EMETTEUR", "Id_Client"), id);
    QCOMPARE(m_module->NumeroCliRequete(), id);
    QCOMPARE(m_module->EmpreinteRequete(), credentialOf(request, padded, keyStart));
}

void TestRequete::credentialOfRealWholesalerVector() {
    QFile sample(dossierPharmaML(QStringLiteral("samples/C_DPCI_commande_v1.xml")));
    if (!sample.exists())
        QSKIP("the Pharma-ML reference folder ../shared/pharmaml is absent");
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QByteArray bytes = sample.readAll();
    QVERIFY(!bytes.contains('\r'));
    QCOMPARE(m_module->calculeEmpreinte(QString::fromUtf8(bytes), QStringLiteral("0999908"),
                                        QStringLiteral("4083")),
             QStringLiteral("jbRS0FUm//7Dq2m4sJg0rQ=="));
}

void TestRequete::defaultsWithoutSettingsFile() {
    const QString message = m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    QCOMPARE(message, QString());
    const QString request = m_module->RequeteXML();
    QCOMPARE(attribute(request, "EMETTEUR", "Id"), QStringLiteral("000000"));
    QCOMPARE(attribute(request, "EMETTEUR", "Adresse"), QStringLiteral("Pharmacie Ardevio"));
    QCOMPARE(attribute(request, "RECEPTEUR", "Code"), QStringLiteral("000000"));
    QCOMPARE(attribute(request, "RECEPTEUR", "Id"), QStringLiteral("000000"));
    QCOMPARE(attribute(request, "RECEPTEUR", "Adresse"), QStringLiteral("......"));
    QCOMPARE(attribute(request, "DESTINATAIRE", "Id_Societe"), QStringLiteral("000000"));
}

void TestRequete::receiverAddress_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("sent");
    QTest::newRow("28 kept") << QString(28, u'x') << QString(28, u'x');
    QTest::newRow("40 cut to 28") << QStringLiteral("0123456789012345678901234567890123456789")
                                  << QStringLiteral("0123456789012345678901234567");
    QTest::newRow("empty stays empty") << "" << "";
}

void TestRequete::receiverAddress() {
    QFETCH(QString, stored);
    QFETCH(QString, sent);
    writeIni({{"AdrRepart1", stored}});
    m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    QCOMPARE(attribute(m_module->RequeteXML(), "RECEPTEUR", "Adresse"), sent);
}

void TestRequete::productLines_data() {
    QTest::addColumn<QString>("lignes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one item") << "1234567,1" << line(1, "1234567", "1");
    QTest::newRow("not numeric gives 1") << "1234567,x" << line(1, "1234567", "1");
    QTest::newRow("negative made positive") << "1234567,-3" << line(1, "1234567", "3");
    QTest::newRow("decimal in short form") << "1234567,2.50" << line(1, "1234567", "2.5");
    QTest::newRow("exponent") << "1234567,1e3" << line(1, "1234567", "1000");
    QTest::newRow("point first") << "1234567,.5" << line(1, "1234567", "0.5");
    QTest::newRow("too small for a double") << "1234567,1e-400" << line(1, "1234567", "0");
    QTest::newRow("comma decimal is two commas") << "1234567,2,5" << "";
    QTest::newRow("hexadecimal is not a number") << "1234567,0x10" << line(1, "1234567", "1");
    QTest::newRow("minus zero") << "1234567,-0" << line(1, "1234567", "0");
    QTest::newRow("no comma skipped") << "1234567" << "";
    QTest::newRow("two commas skipped") << "1234567,1,2" << "";
    QTest::newRow("empty list") << "" << "";
    QTest::newRow("gap in numbering") << "A,1;B;C,2" << line(1, "A", "1") + line(3, "C", "2");
    QTest::newRow("empty item counts") << "A,1;;B,1" << line(1, "A", "1") + line(3, "B", "1");
    QTest::newRow("code kept as is") << " 12 34,1" << line(1, " 12 34", "1");
}

void TestRequete::productLines() {
    QFETCH(QString, lignes);
    QFETCH(QString, expected);
    const QString message = m_module->PML_ConstruitRequeteInfoProduit(lignes, 1);
    QCOMPARE(message, QString());
    QCOMPARE(lines(m_module->RequeteXML()), expected);
    if (expected.isEmpty())
        QVERIFY(m_module->RequeteXML().contains(
            QLatin1String(R"(<REQ_INFO_PRODUIT Ref_Req_Info_Produit="20260305090702"></REQ_INFO_PRODUIT>)")));
}

void TestRequete::onlyFiftyItemsExamined() {
    QStringList items;
    QString expected;
    for (int i = 1; i <= 60; ++i) {
        items << QStringLiteral("%1,%2").arg(1000000 + i).arg(i);
        if (i <= 50)
            expected += line(i, QString::number(1000000 + i), QString::number(i));
    }
    m_module->PML_ConstruitRequeteInfoProduit(items.join(u';'), 1);
    QCOMPARE(lines(m_module->RequeteXML()), expected);
}

void TestRequete::quantityBeyondDoubleShowsOverflow() {
    const QString message = m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1e400"), 1);
    QCOMPARE(m_zone.resultat().texte, QStringLiteral("PML_ConstruitCorpsInfoProduit : Overflow (6)"));
    QCOMPARE(m_zone.resultat().couleur, Couleurs::rouge);
    QCOMPARE(m_zone.dispo().texte, QStringLiteral("\r\nREQUETE EN ERREUR"));
    // The request is still completed and signed, without its body.
    QCOMPARE(message, QString());
    QVERIFY(!m_module->RequeteXML().contains(QLatin1String("REQ_INFO_PRODUIT")));
    QVERIFY(m_module->RequeteXML().endsWith(
        QLatin1String("</ENTETE></MESSAGE_OFFICINE></CORPS></CSRP_ENVELOPPE>")));
    QCOMPARE(m_module->EmpreinteRequete(), credentialOf(m_module->RequeteXML(), QString(16, u'0'), ""));
}

void TestRequete::clockReadInOrder() {
    int reading = 0;
    ModPharmaML module(m_zone, [&reading] { return instant.addSecs(reading++); });
    module.PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    const QString request = module.RequeteXML();
    QCOMPARE(reading, 3);
    QCOMPARE(module.RefMessage(), QStringLiteral("20260305090702"));
    QVERIFY(request.contains(
        QLatin1String("<REF_MESSAGE>20260305090702</REF_MESSAGE><DATE>2026-03-05T09:07:03</DATE>")));
    QVERIFY(request.contains(QLatin1String(R"(/><DATE>2026-03-05T09:07:04</DATE></ENTETE><CORPS>)")));
    QVERIFY(request.contains(QLatin1String(R"(Ref_Req_Info_Produit="20260305090702")")));
}

void TestRequete::sameSecondSameReference() {
    m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    const QString first = m_module->RefMessage();
    m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("7654321,1"), 1);
    QCOMPARE(m_module->RefMessage(), first);
}

void TestRequete::pharmacyNameReadOncePerRun() {
    writeIni({{"AdrPharmacie", "Pharmacie du Port"}});
    m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    QVERIFY(FichierINI::EcrireIni("Infos", "AdrPharmacie", "Pharmacie Neuve"));
    m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    QCOMPARE(attribute(m_module->RequeteXML(), "EMETTEUR", "Adresse"), QStringLiteral("Pharmacie du Port"));

    ModPharmaML nextRun(m_zone, [] { return instant; });
    QCOMPARE(nextRun.PML_AdressePharmacie(), QStringLiteral("Pharmacie Neuve"));
}

void TestRequete::pharmacyNameCutTo128() {
    writeIni({{"AdrPharmacie", QString(100, u'a') + QString(100, u'é')}});
    QCOMPARE(m_module->PML_AdressePharmacie(), QString(100, u'a') + QString(28, u'e'));
}

void TestRequete::insertedValuesEscaped_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("attribute");
    QTest::newRow("client number") << "NumeroCli1" << R"(12"/><INJECTE a="1)" << "EMETTEUR" << "Id";
    QTest::newRow("receiver code") << "IdRepart1" << "A&B" << "RECEPTEUR" << "Code";
    QTest::newRow("receiver id") << "CodeRepart1" << "<x>" << "DESTINATAIRE" << "Id_Societe";
    QTest::newRow("receiver address")
        << "AdrRepart1" << R"(Grossiste "A&B" <Sud>)" << "RECEPTEUR" << "Adresse";
}

void TestRequete::insertedValuesEscaped() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, element);
    QFETCH(QString, attribute);
    writeIni({{key, value}});
    QCOMPARE(m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("12&3<4>\"5,1"), 1), QString());

    const Xml::Document request = Xml::Document::depuisTexte(m_module->RequeteXML(), Xml::espacesEnveloppe);
    QVERIFY(request.estAnalyse());
    QVERIFY(request.elementsParNom(u"INJECTE").isEmpty());
    QCOMPARE(request.elementsParNom(element).first().attribut(attribute), std::optional<QString>(value));
    QCOMPARE(request.elementsParNom(u"LIGNE").first().attribut(u"Code_Produit"),
             std::optional<QString>(QStringLiteral("12&3<4>\"5")));
}

void TestRequete::accentedValueTravelsAsUtf8() {
    writeIni({{"CodeRepart1", "Société"}, {"NumeroCli1", "42"}, {"ClefCli1", "clé!"}});
    QCOMPARE(m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1), QString());
    const QString request = m_module->RequeteXML();
    QCOMPARE(attribute(request, "RECEPTEUR", "Id"), QStringLiteral("Société"));
    QCOMPARE(m_module->EmpreinteRequete(), credentialOf(request, "4200000000000000", "clé!"));
}

void TestRequete::forbiddenCharacterReportedButRequestBuilt() {
    writeIni({{"IdRepart1", QStringLiteral("A\x01"
                                           "B")}});
    const QString message = m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("1234567,1"), 1);
    QVERIFY(message.startsWith(QLatin1String("Erreur de validation \r\nRaison: ")));
    QVERIFY(message.endsWith(QLatin1String("\r\nLigne: 1")));
    QVERIFY(m_module->RequeteXML().contains(QStringLiteral("Code=\"A\x01"
                                                           "B\"")));
    QCOMPARE(m_module->EmpreinteRequete(), credentialOf(m_module->RequeteXML(), QString(16, u'0'), ""));
    QCOMPARE(m_zone.journal, QStringList()); // the message is returned, not shown
}

void TestRequete::completeAccountSatisfiesSchemas() {
    if (!QFile::exists(dossierPharmaML(QStringLiteral("xsd/pharmaml-all.xsd"))))
        QSKIP("the Pharma-ML reference folder ../shared/pharmaml is absent");
    writeIni({{"AdrPharmacie", "Pharmacie de la Gare"},
              {"IdRepart1", "12"},
              {"CodeRepart1", "04"},
              {"NumeroCli1", "0999908"},
              {"ClefCli1", "4083"},
              {"AdrRepart1", "DPCI"}});
    QCOMPARE(m_module->PML_ConstruitRequeteInfoProduit(QStringLiteral("3400930260494,1;3153342,2"), 1),
             QString());
    QCOMPARE(erreursSchemas(m_module->RequeteXML().toUtf8()), QString());
}

QTEST_GUILESS_MAIN(TestRequete)
#include "tst_requete.moc"
