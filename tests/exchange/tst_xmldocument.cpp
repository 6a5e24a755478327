#include "xmldocument.h"

#include <QTest>

using Xml::Document;

namespace {

Document parse(const QByteArray &bytes)
{
    return Document::depuisOctets(bytes, Xml::espacesEnveloppe);
}

QStringList names(const QList<Xml::Noeud> &nodes)
{
    QStringList list;
    for (const Xml::Noeud &n : nodes)
        list << n.nom();
    return list;
}

} // namespace

class TestXmlDocument : public QObject {
    Q_OBJECT
private slots:
    void declarationDetected_data();
    void declarationDetected();
    void declaredEncodingHonoured_data();
    void declaredEncodingHonoured();
    void textIgnoresDeclaredEncoding();
    void parseErrorTellsReasonLineAndSource_data();
    void parseErrorTellsReasonLineAndSource();
    void acceptance_data();
    void acceptance();
    void topLevelNodes();
};

void TestXmlDocument::declarationDetected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("declaration");
    QTest::newRow("declaration") << QByteArray("<?xml version=\"1.0\"?><a/>") << true;
    QTest::newRow("byte order mark then declaration")
        << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\"?><a/>") << true;
    QTest::newRow("comment first") << QByteArray("<!-- c --><a/>") << false;
    QTest::newRow("other processing instruction first")
        << QByteArray("<?xml-stylesheet href=\"s\"?><a/>") << false;
}

void TestXmlDocument::declarationDetected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, declaration);
    const Document d = parse(bytes);
    QVERIFY(d.estAnalyse());
    QCOMPARE(d.aDeclarationXml(), declaration);
}

void TestXmlDocument::declaredEncodingHonoured_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value");
    QTest::newRow("windows-1252") << QByteArray(
                                         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80\"/>")
                                  << QStringLiteral("€");
    QString utf16 = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"ï\"/>");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2);
    QTest::newRow("utf-16 with byte order mark") << bytes << QStringLiteral("ï");
}

void TestXmlDocument::declaredEncodingHonoured()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, value);
    const Document d = parse(bytes);
    QVERIFY2(d.estAnalyse(), qPrintable(d.erreur().raison));
    QCOMPARE(d.elementsParNom(u"a").first().attribut(u"v"), std::optional<QString>(value));
}

void TestXmlDocument::textIgnoresDeclaredEncoding()
{
    const Document d = Document::depuisTexte(
        QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"été\"/>"), Xml::espacesMessage);
    QVERIFY(d.estAnalyse());
    QCOMPARE(d.elementsParNom(u"a").first().attribut(u"v"), std::optional<QString>(QStringLiteral("été")));
}

void TestXmlDocument::parseErrorTellsReasonLineAndSource_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("source");
    QTest::newRow("empty") << "" << 1 << "";
    QTest::newRow("mismatched end tag") << "<a>\n<b>\n</a>" << 3 << "</a>";
    QTest::newRow("CR LF lines") << "<a>\r\n<b x=1/>\r\n</a>" << 2 << "<b x=1/>";
}

void TestXmlDocument::parseErrorTellsReasonLineAndSource()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, source);
    const Document d = Document::depuisTexte(text, Xml::espacesEnveloppe);
    QVERIFY(!d.estAnalyse());
    QVERIFY(!d.erreur().raison.isEmpty());
    QVERIFY(!d.erreur().raison.endsWith(u'\n'));
    QCOMPARE(d.erreur().ligne, line);
    QCOMPARE(d.erreur().source, source);
    QVERIFY(d.noeudsDeTete().isEmpty());
}

// Validity against the inline definition only, nothing external, and bounds: entity bombs and
// documents whose tree alone would take too long or too much memory to build. An empty reason is
// the parser's own.
void TestXmlDocument::acceptance_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("analysed");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const QByteArray &bytes, bool analysed, const char *reason = "") {
        QTest::newRow(name) << bytes << analysed << QString::fromLatin1(reason);
    };
    const QByteArray dtd =
        "<!DOCTYPE a [\n<!ELEMENT a (b)>\n<!ELEMENT b EMPTY>\n<!ATTLIST b n CDATA #REQUIRED>\n]>\n";
    row("valid", dtd + "<a><b n=\"1\"/></a>", true);
    row("missing required attribute", dtd + "<a><b/></a>", false);
    row("doctype without declarations", "<!DOCTYPE a><a/>", false);
    const QByteArray prix = "<PRIX Nature=\"PHAHT\" Valeur=\"1.50\"/>";
    const QByteArray ligne = "<LIGNE Num_Ligne=\"1\" Type_Codification=\"CIP39\" Code_Produit=\"3582910\" "
                             "Designation=\"D\">" +
                             prix.repeated(10) + "<DISPO/></LIGNE>";
    row("fifty lines of ten prices", "<a>" + ligne.repeated(50) + "</a>", true);
    row("external DTD by path", "<!DOCTYPE a SYSTEM \"/etc/hostname\"><a/>", false, "External DTD refused");
    row("external entity declared only",
        "<!DOCTYPE a [<!ENTITY s SYSTEM \"file:///etc/passwd\"><!ELEMENT a ANY>]><a/>", false,
        "External entity refused");
    row("unparsed entity",
        "<!DOCTYPE a [<!NOTATION n SYSTEM \"n\"><!ENTITY u SYSTEM \"u.bin\" NDATA n><!ELEMENT a ANY>]><a/>",
        false, "External entity refused");
    // One large entity referenced many times: little input, gigabytes once expanded.
    const QByteArray big = "<!DOCTYPE r [<!ENTITY e \"" + QByteArray(20000, 'a') +
                           "\"><!ELEMENT r (#PCDATA)><!ATTLIST r a CDATA #IMPLIED>]>";
    row("quadratic blowup in content", big + "<r>" + QByteArray("&e;").repeated(20000) + "</r>", false);
    row("quadratic blowup in an attribute", big + "<r a=\"" + QByteArray("&e;").repeated(20000) + "\"/>",
        false);
    row("self reference", "<!DOCTYPE r [<!ENTITY a \"&a;\"><!ELEMENT r ANY>]><r>&a;</r>", false);
    QByteArray attributs, defauts;
    for (int i = 0; i < 100000; ++i)
        attributs += " a" + QByteArray::number(i) + "=\"\"";
    for (int i = 0; i < 60000; ++i)
        defauts += " a" + QByteArray::number(i) + " CDATA \"\"";
    row("100,000 attributes on one element", "<r" + attributs + "/>", false, "Too many attributes");
    row("60,000 attribute defaults", "<!DOCTYPE r [<!ATTLIST r" + defauts + ">]><r/>", false);
    row("130,000 elements", "<r>" + QByteArray("<l/>").repeated(130000) + "</r>", false);
    row("340,000 entity references in an attribute",
        "<!DOCTYPE r [<!ENTITY e \"\">]><r a=\"" + QByteArray("&e;").repeated(340000) + "\"/>", false);
    // An "=" that UTF-7 hides could not be counted beforehand.
    row("UTF-7", "<?xml version=\"1.0\" encoding=\"UTF-7\"?><r a+AD0AIgAi-/>", false);
    row("depth 200", QByteArray("<a>").repeated(200) + QByteArray("</a>").repeated(200), true);
    row("depth 100,000", QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000), false);
}

void TestXmlDocument::acceptance()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, analysed);
    QFETCH(QString, reason);
    const Document d = parse(bytes);
    QCOMPARE(d.estAnalyse(), analysed);
    if (!analysed)
        QVERIFY(!d.erreur().raison.isEmpty());
    if (!reason.isEmpty())
        QCOMPARE(d.erreur().raison, reason);
}

void TestXmlDocument::topLevelNodes()
{
    const Document d = parse("<?xml version=\"1.0\"?><!DOCTYPE r [<!ELEMENT r ANY>]><!--c--><?pi x?><r/>");
    QVERIFY(d.estAnalyse());
    QCOMPARE(names(d.noeudsDeTete()), (QStringList{"r", "#comment", "pi", "r"}));
    QVERIFY(!d.noeudsDeTete()[0].estElement());
    QVERIFY(d.noeudsDeTete()[3].estElement());
}





QTEST_GUILESS_MAIN(TestXmlDocument)
#include "tst_xmldocument.moc"
