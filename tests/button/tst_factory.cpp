#include <QLibrary>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QTest>
#include <QWidget>

#ifdef DESIGNER_PLUGIN
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

#include <memory>

class TestFactory : public QObject {
    Q_OBJECT
private slots:
    void createsTheButtonByClassIdentifierOnly()
    {
        QLibrary library(QStringLiteral(SOLVARIN_BINARY_DIR "/bin/TOVA_Button"));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        const auto create =
            reinterpret_cast<QWidget *(*)(const char *, QWidget *)>(library.resolve("TOVA_CreateControl"));
        QVERIFY(create);
        for (const char *other : std::initializer_list<const char *>{"MSWinsockLib.Winsock",
                                                                     "tova_button.tovabutton", "", nullptr})
            QCOMPARE(create(other, nullptr), nullptr);

        QWidget form;
        QWidget *control = create("TOVA_Button.TOVAButton", &form);
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), &form);
        QCOMPARE(control->metaObject()->className(), "TOVAButton");
        // Hosts drive it through its properties and events alone.
        QVERIFY(control->setProperty("Caption", QStringLiteral("Dispo 1")));
        QCOMPARE(control->property("Caption").toString(), QStringLiteral("Dispo 1"));
        const QMetaObject *meta = control->metaObject();
        QVERIFY(meta->indexOfSignal("Click()") >= 0);
        QVERIFY(meta->indexOfSignal("MouseDown(short&,short&,float&,float&)") >= 0);
        const QMetaProperty type = meta->property(meta->indexOfProperty("ButtonType"));
        QVERIFY(type.isEnumType());
        QCOMPARE(type.enumerator().valueToKey(13), "OvalFlat");
        QCOMPARE(control->property("Version").toString(), QStringLiteral(TOVA_BUTTON_VERSION));
    }

    void designerPluginCreatesInDesignMode()
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
};

QTEST_MAIN(TestFactory)
#include "tst_factory.moc"
