#include "buttontest.h"

#include <QSignalSpy>

class TestAccessKey : public QObject {
    Q_OBJECT
private slots:
    void keyOfCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        // Each caption, then the key it gives after "|".
        for (const char *row :
             {"|", "&|", "Envoyer|", "&Envoyer|e", "Dispo &N°1|n", "a&b&c|b", "Envoyer&|", "Pierre && Fils|",
              "R && D &Nord|n", "R && D&|", "a&&b&&c|", "a&&b&&&x|", "&2|2", "& x| "}) {
            const QStringList parts = QString(row).split('|');
            QTest::newRow(row) << parts[0] << parts[1];
        }
    }

    void keyOfCaption()
    {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QCOMPARE(accessKeyOf(caption), key);
        TOVAButton button;
        button.setCaption(caption);
        QCOMPARE(button.AccessKeys(), key);
    }

    // Alt with the key clicks (and toggles a check box) as a left button would; only the key of the
    // current caption counts.
    void keyPressClicks()
    {
        Form form;
        form.button->setCaption(QStringLiteral("&Quitter"));
        form.button->setCaption(QStringLiteral("&Aide"));
        form.button->setCheckBoxBehaviour(true);
        QVERIFY(form.active());
        QSignalSpy clicks(form.button, &TOVAButton::Click);
        QTest::keyClick(&form.window, Qt::Key_Q, Qt::AltModifier);
        QCOMPARE(clicks.count(), 0);
        QTest::keyClick(&form.window, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(form.button->Value());
        QCOMPARE(form.d->LastMouseButton, quint8(1));
    }
};

QTEST_MAIN(TestAccessKey)
#include "tst_accesskey.moc"
