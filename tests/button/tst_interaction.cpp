#include "buttontest.h"

#include <QSignalSpy>

namespace {

// Appends the button's events to the log, with their arguments.
void followEvents(TOVAButton *button, DrawLog &log)
{
    const auto mouse = [&log](const char *name) {
        return [&log, name](short &b, short &s, float &x, float &y) {
            log.entries.append(QStringLiteral("%1 %2 %3 %4,%5").arg(name).arg(b).arg(s).arg(x).arg(y));
        };
    };
    const auto key = [&log](const char *name) {
        return [&log, name](short &k, short &s) {
            log.entries.append(QStringLiteral("%1 %2 %3").arg(name).arg(k).arg(s));
        };
    };
    QObject::connect(button, &TOVAButton::MouseDown, button, mouse("MouseDown"));
    QObject::connect(button, &TOVAButton::MouseUp, button, mouse("MouseUp"));
    QObject::connect(button, &TOVAButton::MouseMove, button, mouse("MouseMove"));
    QObject::connect(button, &TOVAButton::KeyDown, button, key("KeyDown"));
    QObject::connect(button, &TOVAButton::KeyUp, button, key("KeyUp"));
    QObject::connect(button, &TOVAButton::KeyPress, button,
                     [&log](short &a) { log.entries.append(QStringLiteral("KeyPress %1").arg(a)); });
    QObject::connect(button, &TOVAButton::Click, button, [&log] { log.entries.append("Click"); });
}

// A mouse move as the window system reports it, with the buttons held.
void sendMove(TOVAButton *button, QPointF at, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent move(QEvent::MouseMove, at, button->mapToGlobal(at), Qt::NoButton, held, modifiers);
    QCoreApplication::sendEvent(button, &move);
}

} // namespace

class TestInteraction : public QObject {
    Q_OBJECT
private slots:
    void mouseClick_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<QStringList>("expected");
        const QString down = "MouseDown %1 1 50,15";
        const QString up = "MouseUp %1 1 50,15";
        QTest::newRow("left") << Qt::LeftButton << QPoint(50, 15)
                              << QStringList{down.arg(1),   "Draw 2 lazy",   up.arg(1),
                                             "Draw 0 lazy", "Draw 0 forced", "Click"};
        QTest::newRow("left, released outside")
            << Qt::LeftButton << QPoint(50, 45)
            << QStringList{down.arg(1), "Draw 2 lazy", "MouseUp 1 1 50,45", "Draw 0 lazy"};
        QTest::newRow("right") << Qt::RightButton << QPoint(50, 15) << QStringList{down.arg(2), up.arg(2)};
        QTest::newRow("middle") << Qt::MiddleButton << QPoint(50, 15)
                                << QStringList{down.arg(4), "Draw 2 lazy", up.arg(4), "Draw 0 lazy"};
    }

    void mouseClick()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(QStringList, expected);
        Form form;
        QVERIFY(form.active());
        form.button->setFocus();
        DrawLog log(*form.button);
        followEvents(form.button, log);
        QTest::mousePress(form.button, button, Qt::ShiftModifier, QPoint(50, 15));
        QTest::mouseRelease(form.button, button, Qt::ShiftModifier, releaseAt);
        QCOMPARE(log.entries, expected);
        QCOMPARE(form.d->LastState, quint8(0));
    }

    void doubleClick()
    {
        Form form;
        QVERIFY(form.active());
        form.button->setFocus();
        QTest::mouseMove(form.button, QPoint(30, 10));
        DrawLog log(*form.button);
        followEvents(form.button, log);
        // Through the window system, which makes the double click out of two clicks.
        const QPoint at = form.button->mapTo(&form.window, QPoint(30, 10));
        QTest::mouseDClick(form.window.windowHandle(), Qt::LeftButton, {}, at);
        log.entries.removeIf([](const QString &entry) { return entry.startsWith("MouseMove"); });
        QCOMPARE(log.entries, QStringList({"MouseDown 1 0 30,10", "Draw 2 lazy", "MouseUp 1 0 30,10",
                                           "Draw 0 lazy", "Draw 0 forced", "Click", "MouseDown 1 0 0,0",
                                           "Draw 2 lazy", "MouseUp 1 0 30,10", "Draw 0 lazy"}));
        QVERIFY(!QWidget::mouseGrabber());
    }

    void middleButtonMoveRaisesOnlyMouseMove()
    {
        Form form;
        QVERIFY(form.active());
        DrawLog log(*form.button);
        followEvents(form.button, log);
        sendMove(form.button, QPointF(20, 5), Qt::MiddleButton, Qt::ControlModifier);
        QCOMPARE(log.entries, QStringList({"MouseMove 4 2 20,5"}));
    }

    void handlerCanChangeTheButton()
    {
        // Arguments go by reference: a handler turning a left press into a right one suppresses the click.
        Form form;
        QVERIFY(form.active());
        connect(form.button, &TOVAButton::MouseDown, form.button,
                [](short &button, short &, float &, float &) { button = 2; });
        QSignalSpy clicks(form.button, &TOVAButton::Click);
        QTest::mouseClick(form.button, Qt::LeftButton);
        QCOMPARE(form.d->LastMouseButton, quint8(2));
        QCOMPARE(clicks.count(), 0);
    }

    void disabledControlDoesNotClick()
    {
        Form form;
        form.button->setCaption(QStringLiteral("&Envoyer"));
        form.button->setCheckBoxBehaviour(true);
        form.button->setEnabled(false);
        QVERIFY(form.active());
        QSignalSpy clicks(form.button, &TOVAButton::Click);
        QTest::mouseClick(form.button, Qt::LeftButton);
        QTest::keyClick(&form.window, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!form.button->Value());
    }

    void spaceBar_data()
    {
        QTest::addColumn<QString>("keys"); // "+k" press, "-k" release; s is the space bar
        QTest::addColumn<int>("clicks");
        QTest::newRow("press and release") << "+s -s" << 1;
        QTest::newRow("another key released while space is held") << "+s -a" << 0;
        QTest::newRow("another key pressed in between") << "+s +a -s" << 0;
        QTest::newRow("space pressed again after another key") << "+a +s -a -s" << 1;
    }

    void spaceBar()
    {
        QFETCH(QString, keys);
        QFETCH(int, clicks);
        Form form;
        QVERIFY(form.active());
        form.button->setFocus();
        QSignalSpy clickSpy(form.button, &TOVAButton::Click);
        for (const QString &step : keys.split(' ')) {
            const Qt::Key key = step[1] == 's' ? Qt::Key_Space : Qt::Key_A;
            if (step[0] == '+')
                QTest::keyPress(form.button, key);
            else
                QTest::keyRelease(form.button, key);
        }
        QCOMPARE(clickSpy.count(), clicks);
    }

    void checkBoxToggles()
    {
        Form form;
        QVERIFY(form.active());
        form.button->setCheckBoxBehaviour(true);
        QSignalSpy changed(form.button, &TOVAButton::PropertyChanged);
        QTest::mouseClick(form.button, Qt::LeftButton);
        QVERIFY(form.button->Value());
        QCOMPARE(form.d->LastState, quint8(2)); // stays pressed
        QTest::mouseClick(form.button, Qt::LeftButton);
        QVERIFY(!form.button->Value());
        QCOMPARE(form.d->LastState, quint8(0));
        form.button->setFocus();
        QTest::keyClick(form.button, Qt::Key_Space);
        QVERIFY(form.button->Value());
        QCOMPARE(form.d->LastState, quint8(2));
        QCOMPARE(changed.count(), 0); // the toggle is not announced as a property change
    }

    void hover()
    {
        Form form;
        QVERIFY(form.active());
        DrawLog log(*form.button);
        QSignalSpy over(form.button, &TOVAButton::MouseOver);
        QSignalSpy out(form.button, &TOVAButton::MouseOut);
        QTest::mouseMove(form.button, QPoint(20, 10));
        QCOMPARE(over.count(), 1);
        QVERIFY(form.d->IsOver);
        QVERIFY(form.d->OverTimer.isActive());
        QCOMPARE(form.d->OverTimer.interval(), 3);
        QVERIFY(log.entries.contains("Draw 0 forced"));
        QTest::mouseMove(form.button, QPoint(60, 20));
        QCOMPARE(over.count(), 1);

        // The pointer is now over the field below; the last move the button hears of finds it outside.
        QCursor::setPos(form.second->mapToGlobal(QPoint(5, 5)));
        log.entries.clear();
        sendMove(form.button, QPointF(60, 45), Qt::NoButton);
        QCOMPARE(out.count(), 0);
        QCOMPARE(log.entries, QStringList({"Draw 0 lazy"}));
        QTRY_COMPARE(out.count(), 1);
        QVERIFY(!form.d->IsOver);
        QVERIFY(!form.d->OverTimer.isActive());
        QCOMPARE(over.count(), 1);
    }

    void leftButtonHeldInside()
    {
        Form form;
        QVERIFY(form.active());
        QTest::mouseMove(form.button, QPoint(20, 10));
        QVERIFY(form.d->IsOver);
        DrawLog log(*form.button);
        QSignalSpy out(form.button, &TOVAButton::MouseOut);
        sendMove(form.button, QPointF(25, 12), Qt::LeftButton);
        QCOMPARE(log.entries, QStringList({"Draw 2 lazy"}));
        QVERIFY(!form.d->IsOver);
        // The timer of the earlier hover still reports the pointer leaving.
        QCursor::setPos(form.first->mapToGlobal(QPoint(5, 5)));
        QTRY_COMPARE(out.count(), 1);
    }

    void arrowKeysMoveTheFocus_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<bool>("forwards");
        QTest::newRow("left") << Qt::Key_Left << false;
        QTest::newRow("up") << Qt::Key_Up << false;
        QTest::newRow("right") << Qt::Key_Right << true;
        QTest::newRow("down") << Qt::Key_Down << true;
    }

    void arrowKeysMoveTheFocus()
    {
        QFETCH(Qt::Key, key);
        QFETCH(bool, forwards);
        Form form;
        QVERIFY(form.active());
        form.button->setFocus();
        QSignalSpy keyDowns(form.button, &TOVAButton::KeyDown);
        QTest::keyClick(form.button, key);
        QCOMPARE(keyDowns.count(), 1);
        QVERIFY(form.button->hasFocus()); // the keystroke is sent, not processed at once
        QTRY_VERIFY((forwards ? form.second : form.first)->hasFocus());
    }

    void focusRedraws()
    {
        Form form;
        QVERIFY(form.active());
        DrawLog log(*form.button);
        form.button->setFocus();
        QVERIFY(form.d->HasFocus);
        form.first->setFocus();
        QVERIFY(!form.d->HasFocus);
        QCOMPARE(log.entries, QStringList({"Draw 0 forced", "Draw 0 forced"}));
    }

    void suspendedDrawingStillRaisesEvents()
    {
        Form form;
        QVERIFY(form.active());
        form.button->setFocus();
        const QImage before = form.d->BackBuffer;
        form.button->DisableRefresh();
        DrawLog log(*form.button);
        followEvents(form.button, log);
        QTest::keyClick(form.button, Qt::Key_Space);
        QCOMPARE(log.entries, QStringList({"KeyDown 32 0", "Draw 2 lazy", "KeyPress 32", "KeyUp 32 0",
                                           "Draw 0 lazy", "Click"}));
        QCOMPARE(form.d->BackBuffer, before);
        QCOMPARE(form.d->LastState, quint8(0));
    }
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
