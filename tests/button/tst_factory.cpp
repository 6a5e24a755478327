#include <QLibrary>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QTest>
#include <QWidget>

#ifdef DESIGNER_PLUGIN
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

#include <memory>

namespace {

using CreateControl = QWidget *(*)(const char *, QWidget *);

} // namespace

class TestFactory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void createsTheButtonByClassIdentifier();
    void refusesOtherClasses_data();
    void refusesOtherClasses();
    void designerPluginCreatesInDesignMode();

private:
    QLibrary m_library{QStringLiteral(SOLVARIN_BINARY_DIR "/bin/TOVA_Button")};
    CreateControl m_create = nullptr;
};

void TestFactory::initTestCase()
{
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    m_create = reinterpret_cast<CreateControl>(m_library.resolve("TOVA_CreateControl"));
    QVERIFY(m_create);
}

void TestFactory::createsTheButtonByClassIdentifier()
{
    QWidget form;
    QWidget *control = m_create("TOVA_Button.TOVAButton", &form);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &form);
    QCOMPARE(control->metaObject()->className(), "TOVAButton");
    QCOMPARE(control->property("Version").toString(), QStringLiteral("2.0.6"));
    QCOMPARE(control->property("ButtonType").toInt(), 2);

    // Hosts drive it through its properties and Click event alone.
    QVERIFY(control->setProperty("Caption", QStringLiteral("Dispo 1")));
    QCOMPARE(control->property("Caption").toString(), QStringLiteral("Dispo 1"));
    const QMetaObject *meta = control->metaObject();
    QVERIFY(meta->indexOfSignal("Click()") >= 0);
    QVERIFY(meta->indexOfSignal("MouseDown(short&,short&,float&,float&)") >= 0);
    const QMetaProperty type = meta->property(meta->indexOfProperty("ButtonType"));
    QVERIFY(type.isEnumType());
    QCOMPARE(type.enumerator().valueToKey(13), "OvalFlat");
}

void TestFactory::refusesOtherClasses_data()
{
    QTest::addColumn<QByteArray>("classId");
    QTest::newRow("other class") << QByteArray("MSWinsockLib.Winsock");
    QTest::newRow("letter case") << QByteArray("tova_button.tovabutton");
    QTest::newRow("empty") << QByteArray("");
}

void TestFactory::refusesOtherClasses()
{
    QFETCH(QByteArray, classId);
    QCOMPARE(m_create(classId.constData(), nullptr), nullptr);
    QCOMPARE(m_create(nullptr, nullptr), nullptr);
}

void TestFactory::designerPluginCreatesInDesignMode()
{
#ifdef DESIGNER_PLUGIN
    QPluginLoader loader(QStringLiteral(DESIGNER_PLUGIN));
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
    QVERIFY2(plugin, qPrintable(loader.errorString()));
    QCOMPARE(plugin->name(), QStringLiteral("TOVAButton"));
    QVERIFY(plugin->domXml().contains(QStringLiteral("class=\"TOVAButton\"")));
    std::unique_ptr<QWidget> control(plugin->createWidget(nullptr));
    QVERIFY(control);
    // In design mode a new back colour also becomes the hover colour.
    control->setProperty("BackColor", 0x00123456u);
    QCOMPARE(control->property("BackOver").toUInt(), 0x00123456u);
#else
    QSKIP("the Qt Designer development files were not found, so the plugin was not built");
#endif
}

QTEST_MAIN(TestFactory)
#include "tst_factory.moc"
