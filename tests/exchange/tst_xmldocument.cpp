#include "xmldocument.h"

#include <QTest>

using Xml::Document;

namespace {

Document parse(const QByteArray &bytes) {
    return Document::depuisOctets(bytes, Xml::espacesEnveloppe);
}

QStringList names(const QList<Xml::Noeud> &nodes) {
    QStringList list;
    for (const Xml::Noeud &n : nodes)
        list << n.nom();
    return list;
}

QByteArray billionLaughs() {
    QByteArray dtd = "<!DOCTYPE r [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i)
        dtd += "<!ENTITY l" + QByteArray::number(i) + " \"" +
               ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    return dtd + "<!ELEMENT r (#PCDATA)>]><r>&l9;</r>";
}

// One large entity referenced many times: little input, gigabytes once expanded.
QByteArray quadraticBlowup(bool inAttribute) {
    const QByteArray refs = QByteArray("&e;").repeated(20000);
    const QByteArray dtd = "<!DOCTYPE r [<!ENTITY e \"" + QByteArray(20000, 'a') +
                           "\"><!ELEMENT r (#PCDATA)><!ATTLIST r a CDATA #IMPLIED>]>";
    return dtd + (inAttribute ? "<r a=\"" + refs + "\"/>" : "<r>" + refs + "</r>");
}

// `n` times what `motif` gives for 0, 1, ... n - 1.
QByteArray repete(int n, QByteArray (*motif)(int)) {
    QByteArray tout;
    for (int i = 0; i < n; ++i)
        tout += motif(i);
    return tout;
}

QByteArray nom(int i) {
    return "a" + QByteArray::number(i);
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
    void validatedAgainstInlineDefinition_data();
    void validatedAgainstInlineDefinition();
    void nothingExternalLoaded_data();
    void nothingExternalLoaded();
    void bombsRefused_data();
    void bombsRefused();
    void depthLimited();
    void topLevelNodes();
    void elementsByLocalNameInDocumentOrder();
    void childrenAndAttributes();
    void serialisedElementParsesAlone_data();
    void serialisedElementParsesAlone();
};

void TestXmlDocument::declarationDetected_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("declaration");
    QTest::newRow("declaration") << QByteArray("<?xml version=\"1.0\"?><a/>") << true;
    QTest::newRow("byte order mark then declaration")
        << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\"?><a/>") << true;
    QTest::newRow("none") << QByteArray("<a/>") << false;
    QTest::newRow("comment first") << QByteArray("<!-- c --><a/>") << false;
    QTest::newRow("other processing instruction first")
        << QByteArray("<?xml-stylesheet href=\"s\"?><a/>") << false;
}

void TestXmlDocument::declarationDetected() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, declaration);
    const Document d = parse(bytes);
    QVERIFY(d.estAnalyse());
    QCOMPARE(d.aDeclarationXml(), declaration);
}

void TestXmlDocument::declaredEncodingHonoured_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value");
    QTest::newRow("utf-8 without declaration") << QByteArray("<a v=\"\xC3\xA9\"/>") << QStringLiteral("é");
    QTest::newRow("windows-1252")
        << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80\"/>")
        << QStringLiteral("€");
    QString utf16 = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"ï\"/>");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2);
    QTest::newRow("utf-16 with byte order mark") << bytes << QStringLiteral("ï");
}

void TestXmlDocument::declaredEncodingHonoured() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, value);
    const Document d = parse(bytes);
    QVERIFY2(d.estAnalyse(), qPrintable(d.erreur().raison));
    QCOMPARE(d.elementsParNom(u"a").first().attribut(u"v"), std::optional<QString>(value));
}

void TestXmlDocument::textIgnoresDeclaredEncoding() {
    const Document d = Document::depuisTexte(
        QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"été\"/>"), Xml::espacesMessage);
    QVERIFY(d.estAnalyse());
    QCOMPARE(d.elementsParNom(u"a").first().attribut(u"v"), std::optional<QString>(QStringLiteral("été")));
}

void TestXmlDocument::parseErrorTellsReasonLineAndSource_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("source");
    QTest::newRow("empty") << "" << 1 << "";
    QTest::newRow("mismatched end tag") << "<a>\n<b>\n</a>" << 3 << "</a>";
    QTest::newRow("CR LF lines") << "<a>\r\n<b x=1/>\r\n</a>" << 2 << "<b x=1/>";
    QTest::newRow("two roots") << "<a/>\n<a/>" << 2 << "<a/>";
    QTest::newRow("unbound prefix") << "<p:a/>" << 1 << "<p:a/>";
    QTest::newRow("truncated") << "<a><b>" << 1 << "<a><b>";
}

void TestXmlDocument::parseErrorTellsReasonLineAndSource() {
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

void TestXmlDocument::validatedAgainstInlineDefinition_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    const QByteArray dtd =
        "<!DOCTYPE a [\n<!ELEMENT a (b)>\n<!ELEMENT b EMPTY>\n<!ATTLIST b n CDATA #REQUIRED>\n]>\n";
    QTest::newRow("valid") << dtd + "<a><b n=\"1\"/></a>" << true;
    QTest::newRow("undeclared element") << dtd + "<a><c/></a>" << false;
    QTest::newRow("missing required attribute") << dtd + "<a><b/></a>" << false;
    QTest::newRow("doctype without declarations") << QByteArray("<!DOCTYPE a><a/>") << false;
    QTest::newRow("no definition: well-formed is enough") << QByteArray("<a><c/></a>") << true;
    const QByteArray prix = "<PRIX Nature=\"PHAHT\" Valeur=\"1.50\"/>";
    const QByteArray ligne = "<LIGNE Num_Ligne=\"1\" Type_Codification=\"CIP39\" Code_Produit=\"3582910\" "
                             "Designation=\"D\">" + prix.repeated(10) + "<DISPO/></LIGNE>";
    QTest::newRow("fifty lines of ten prices") << "<a>" + ligne.repeated(50) + "</a>" << true;
}

void TestXmlDocument::validatedAgainstInlineDefinition() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    const Document d = parse(bytes);
    QCOMPARE(d.estAnalyse(), valid);
    if (!valid)
        QVERIFY(!d.erreur().raison.isEmpty());
}

void TestXmlDocument::nothingExternalLoaded_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("external DTD by path")
        << QByteArray("<!DOCTYPE a SYSTEM \"/etc/hostname\"><a/>") << "External DTD refused";
    QTest::newRow("external DTD over the network")
        << QByteArray("<!DOCTYPE a PUBLIC \"-//X//Y\" \"http://192.0.2.1/a.dtd\"><a/>")
        << "External DTD refused";
    QTest::newRow("external entity in content")
        << QByteArray("<!DOCTYPE a [<!ENTITY s SYSTEM \"file:///etc/passwd\"><!ELEMENT a ANY>]><a>&s;</a>")
        << "External entity refused";
    QTest::newRow("external entity declared only")
        << QByteArray("<!DOCTYPE a [<!ENTITY s SYSTEM \"file:///etc/passwd\"><!ELEMENT a ANY>]><a/>")
        << "External entity refused";
    QTest::newRow("external parameter entity")
        << QByteArray(
               "<!DOCTYPE a [<!ENTITY % p SYSTEM \"http://192.0.2.1/p.dtd\"> %p;<!ELEMENT a ANY>]><a/>")
        << "";
    QTest::newRow("unparsed entity") << QByteArray("<!DOCTYPE a [<!NOTATION n SYSTEM \"n\"><!ENTITY u SYSTEM "
                                                   "\"u.bin\" NDATA n><!ELEMENT a ANY>]><a/>")
                                     << "External entity refused";
}

void TestXmlDocument::nothingExternalLoaded() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const Document d = parse(bytes);
    QVERIFY(!d.estAnalyse());
    if (!reason.isEmpty())
        QCOMPARE(d.erreur().raison, reason);
    QVERIFY(!d.erreur().raison.contains(QLatin1String("root:")));
}

// Entity bombs, and documents whose tree alone would take too long or too much memory to build.
void TestXmlDocument::bombsRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("billion laughs") << billionLaughs();
    QTest::newRow("quadratic blowup in content") << quadraticBlowup(false);
    QTest::newRow("quadratic blowup in an attribute") << quadraticBlowup(true);
    QTest::newRow("self reference") << QByteArray(
        "<!DOCTYPE r [<!ENTITY a \"&a;\"><!ELEMENT r ANY>]><r>&a;</r>");
    QTest::newRow("100,000 attributes on one element")
        << "<r" + repete(100000, [](int i) { return " " + nom(i) + "=\"\""; }) + "/>";
    QTest::newRow("130,000 elements") << "<r>" + QByteArray("<l/>").repeated(130000) + "</r>";
    QTest::newRow("60,000 attribute defaults")
        << "<!DOCTYPE r [<!ATTLIST r" + repete(60000, [](int i) { return " " + nom(i) + " CDATA \"\""; }) +
               ">]><r/>";
    QTest::newRow("340,000 entity references in an attribute")
        << "<!DOCTYPE r [<!ENTITY e \"\">]><r a=\"" + QByteArray("&e;").repeated(340000) + "\"/>";
    // An "=" that UTF-7 hides could not be counted beforehand.
    QTest::newRow("UTF-7") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-7\"?><r a+AD0AIgAi-/>");
}

void TestXmlDocument::bombsRefused() {
    QFETCH(QByteArray, bytes);
    const Document d = parse(bytes);
    QVERIFY(!d.estAnalyse());
}

void TestXmlDocument::depthLimited() {
    const auto nested = [](int depth) {
        return QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
    };
    QVERIFY(parse(nested(200)).estAnalyse());
    QVERIFY(!parse(nested(100000)).estAnalyse());
}

void TestXmlDocument::topLevelNodes() {
    const Document d = parse("<?xml version=\"1.0\"?><!DOCTYPE r [<!ELEMENT r ANY>]><!--c--><?pi x?><r/>");
    QVERIFY(d.estAnalyse());
    QCOMPARE(names(d.noeudsDeTete()), (QStringList{"r", "#comment", "pi", "r"}));
    QVERIFY(!d.noeudsDeTete()[0].estElement());
    QVERIFY(d.noeudsDeTete()[3].estElement());
}

void TestXmlDocument::elementsByLocalNameInDocumentOrder() {
    const Document d = parse(
        "<r xmlns:p=\"urn:p\"><X n=\"1\"><X n=\"2\"/></X><p:X n=\"3\"/><x n=\"4\"/><y><X n=\"5\"/></y></r>");
    QVERIFY(d.estAnalyse());
    QStringList order;
    for (const Xml::Noeud &n : d.elementsParNom(u"X"))
        order << n.attribut(u"n").value_or("?");
    QCOMPARE(order, (QStringList{"1", "2", "3", "5"}));
    const Xml::Noeud first = d.elementsParNom(u"X").first();
    QCOMPARE(first.elementsParNom(u"X").size(), 1); // below it, not itself
    QVERIFY(d.elementsParNom(u"Z").isEmpty());
}

void TestXmlDocument::childrenAndAttributes() {
    const Document d = parse("<r a=\"\" b=\"x &amp; y\">t1<c/><!--k-->t2<c>in</c></r>");
    const Xml::Noeud r = d.elementsParNom(u"r").first();
    QCOMPARE(names(r.enfants()), (QStringList{"#text", "c", "#comment", "#text", "c"}));
    QCOMPARE(r.premierEnfant(u"c").texte(), QString());
    QVERIFY(r.premierEnfant(u"z").estAbsent());
    QVERIFY(r.premierEnfant(u"z").premierEnfant(u"c").estAbsent());
    QCOMPARE(r.attribut(u"a"), std::optional<QString>(QString()));
    QCOMPARE(r.attribut(u"b"), std::optional<QString>(QStringLiteral("x & y")));
    QCOMPARE(r.attribut(u"missing"), std::nullopt);
    QCOMPARE(r.texte(), QStringLiteral("t1t2in"));
    QCOMPARE(Xml::Noeud().attribut(u"a"), std::nullopt);
    QCOMPARE(Xml::Noeud().texte(), QString());
}

void TestXmlDocument::serialisedElementParsesAlone_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("default namespace from an ancestor")
        << QByteArray("<E xmlns=\"urn:e\"><M xmlns=\"urn:m\"><CORPS><L v=\"é\"/></CORPS></M></E>");
    QTest::newRow("prefixes from ancestors") << QByteArray(
        "<e:E xmlns:e=\"urn:e\" xmlns:m=\"urn:m\"><m:M><m:CORPS><m:L m:v=\"é\"/></m:CORPS></m:M></e:E>");
    QTest::newRow("no namespace") << QByteArray("<E><M><CORPS><L v=\"é\"/></CORPS></M></E>");
}

void TestXmlDocument::serialisedElementParsesAlone() {
    QFETCH(QByteArray, bytes);
    const Document d = parse(bytes);
    QVERIFY(d.estAnalyse());
    const QString text = d.elementsParNom(u"CORPS").first().serialise();
    const Document alone = Document::depuisTexte(text, Xml::espacesMessage);
    QVERIFY2(alone.estAnalyse(), qPrintable(text));
    QCOMPARE(alone.noeudsDeTete().first().nom(), QStringLiteral("CORPS"));
    QCOMPARE(alone.elementsParNom(u"L").first().attribut(u"v"), std::optional<QString>(QStringLiteral("é")));
}

QTEST_GUILESS_MAIN(TestXmlDocument)
#include "tst_xmldocument.moc"
