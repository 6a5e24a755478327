#include "tovabutton.h"
#include "tovabutton_p.h"

#include <QSignalSpy>
#include <QTest>

class TestAccessKey : public QObject {
    Q_OBJECT
private slots:
    void keyOfCaption_data();
    void keyOfCaption();
    void keyPressClicks();
    void keyFollowsTheCaption();
};

void TestAccessKey::keyOfCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one character") << "&"
                                   << "";
    QTest::newRow("no ampersand") << "Envoyer"
                                  << "";
    QTest::newRow("first letter") << "&Envoyer"
                                  << "e";
    QTest::newRow("inside, upper case made lower") << "Dispo &N°1"
                                                   << "n";
    QTest::newRow("first single ampersand wins") << "a&b&c"
                                                 << "b";
    QTest::newRow("final ampersand") << "Envoyer&"
                                     << "";
    QTest::newRow("only a doubled pair") << "Pierre && Fils"
                                         << "";
    QTest::newRow("doubled pair then &N") << "R && D &Nord"
                                          << "n";
    QTest::newRow("doubled pair then final &") << "R && D&"
                                               << "";
    QTest::newRow("doubled pair twice") << "a&&b&&c"
                                        << "";
    QTest::newRow("doubled pair then &&&x") << "a&&b&&&x"
                                            << "";
    QTest::newRow("digit") << "&2"
                           << "2";
    QTest::newRow("ampersand and blank") << "& x"
                                         << " ";
}

void TestAccessKey::keyOfCaption()
{
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QCOMPARE(accessKeyOf(caption), key);
    TOVAButton button;
    button.setCaption(caption);
    QCOMPARE(button.AccessKeys(), key);
}

void TestAccessKey::keyPressClicks()
{
    QWidget form;
    auto *button = new TOVAButton(&form);
    button->setCaption(QStringLiteral("&Quitter"));
    button->setCheckBoxBehaviour(true);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QSignalSpy clicks(button, &TOVAButton::Click);

    QTest::keyClick(&form, Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(button->Value());
    QCOMPARE(TOVAButtonPrivate::get(button)->LastMouseButton, quint8(1));

    QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
}

void TestAccessKey::keyFollowsTheCaption()
{
    QWidget form;
    auto *button = new TOVAButton(&form);
    button->setCaption(QStringLiteral("&Quitter"));
    button->setCaption(QStringLiteral("&Aide"));
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QSignalSpy clicks(button, &TOVAButton::Click);
    QTest::keyClick(&form, Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(clicks.count(), 0);
    QTest::keyClick(&form, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
}

QTEST_MAIN(TestAccessKey)
#include "tst_accesskey.moc"
