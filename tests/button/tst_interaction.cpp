#include "drawlog.h"
#include "tovabutton.h"
#include "tovabutton_p.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

// A small form: a field, the button, another field, in that focus order.
struct Form {
    Form()
    {
        first = new QLineEdit(&window);
        first->setGeometry(10, 10, 100, 22);
        button = new TOVAButton(&window);
        button->setGeometry(10, 40, 100, 30);
        second = new QLineEdit(&window);
        second->setGeometry(10, 80, 100, 22);
        window.resize(200, 120);
        window.show();
        window.activateWindow();
    }

    QWidget window;
    QLineEdit *first;
    TOVAButton *button;
    QLineEdit *second;
};

// Appends the button's events to the log, with their arguments.
void followEvents(TOVAButton *button, DrawLog &log)
{
    const auto mouse = [&log](const char *name) {
        return [&log, name](short &b, short &s, float &x, float &y) {
            log.entries.append(QStringLiteral("%1 %2 %3 %4,%5").arg(name).arg(b).arg(s).arg(x).arg(y));
        };
    };
    QObject::connect(button, &TOVAButton::MouseDown, button, mouse("MouseDown"));
    QObject::connect(button, &TOVAButton::MouseUp, button, mouse("MouseUp"));
    QObject::connect(button, &TOVAButton::MouseMove, button, mouse("MouseMove"));
    QObject::connect(button, &TOVAButton::Click, button, [&log] { log.entries.append("Click"); });
    QObject::connect(button, &TOVAButton::MouseOver, button, [&log] { log.entries.append("MouseOver"); });
    QObject::connect(button, &TOVAButton::MouseOut, button, [&log] { log.entries.append("MouseOut"); });
    QObject::connect(button, &TOVAButton::KeyDown, button, [&log](short &k, short &s) {
        log.entries.append(QStringLiteral("KeyDown %1 %2").arg(k).arg(s));
    });
    QObject::connect(button, &TOVAButton::KeyUp, button, [&log](short &k, short &s) {
        log.entries.append(QStringLiteral("KeyUp %1 %2").arg(k).arg(s));
    });
    QObject::connect(button, &TOVAButton::KeyPress, button,
                     [&log](short &a) { log.entries.append(QStringLiteral("KeyPress %1").arg(a)); });
}

} // namespace

class TestInteraction : public QObject {
    Q_OBJECT
private slots:
    void mouseClick_data();
    void mouseClick();
    void releaseOutsideDoesNotClick();
    void doubleClick();
    void middleButtonMoveRaisesOnlyMouseMove();
    void handlerCanChangeTheButton();
    void disabledControlDoesNotClick();
    void spaceBar_data();
    void spaceBar();
    void checkBoxToggles();
    void hover();
    void leftButtonHeldInside();
    void arrowKeysMoveTheFocus_data();
    void arrowKeysMoveTheFocus();
    void focusRedraws();
    void suspendedDrawingStillRaisesEvents();
};

void TestInteraction::mouseClick_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("left") << Qt::LeftButton
                          << QStringList{"MouseDown 1 1 50,15", "Draw 2 lazy",   "MouseUp 1 1 50,15",
                                         "Draw 0 lazy",         "Draw 0 forced", "Click"};
    QTest::newRow("right") << Qt::RightButton << QStringList{"MouseDown 2 1 50,15", "MouseUp 2 1 50,15"};
    QTest::newRow("middle") << Qt::MiddleButton
                            << QStringList{"MouseDown 4 1 50,15", "Draw 2 lazy", "MouseUp 4 1 50,15",
                                           "Draw 0 lazy"};
}

void TestInteraction::mouseClick()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QStringList, expected);
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    form.button->setFocus();
    DrawLog log(*form.button);
    followEvents(form.button, log);
    QTest::mouseClick(form.button, button, Qt::ShiftModifier, QPoint(50, 15));
    QCOMPARE(log.entries, expected);
    QCOMPARE(TOVAButtonPrivate::get(form.button)->LastState, quint8(0));
}

void TestInteraction::releaseOutsideDoesNotClick()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    QSignalSpy clicks(form.button, &TOVAButton::Click);
    QTest::mousePress(form.button, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseRelease(form.button, Qt::LeftButton, {}, QPoint(50, 45));
    QCOMPARE(clicks.count(), 0);
}

void TestInteraction::doubleClick()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
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

void TestInteraction::middleButtonMoveRaisesOnlyMouseMove()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    DrawLog log(*form.button);
    followEvents(form.button, log);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 5), form.button->mapToGlobal(QPointF(20, 5)),
                     Qt::NoButton, Qt::MiddleButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(form.button, &move);
    QCOMPARE(log.entries, QStringList({"MouseMove 4 2 20,5"}));
}

void TestInteraction::handlerCanChangeTheButton()
{
    // Arguments go by reference: a handler turning a left press into a right one suppresses the click.
    Form form;
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    connect(form.button, &TOVAButton::MouseDown, form.button,
            [](short &button, short &, float &, float &) { button = 2; });
    QSignalSpy clicks(form.button, &TOVAButton::Click);
    QTest::mouseClick(form.button, Qt::LeftButton);
    QCOMPARE(TOVAButtonPrivate::get(form.button)->LastMouseButton, quint8(2));
    QCOMPARE(clicks.count(), 0);
}

void TestInteraction::disabledControlDoesNotClick()
{
    Form form;
    form.button->setCaption(QStringLiteral("&Envoyer"));
    form.button->setCheckBoxBehaviour(true);
    form.button->setEnabled(false);
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    QSignalSpy clicks(form.button, &TOVAButton::Click);
    QTest::mouseClick(form.button, Qt::LeftButton);
    QTest::keyClick(&form.window, Qt::Key_E, Qt::AltModifier);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!form.button->Value());
}

void TestInteraction::spaceBar_data()
{
    QTest::addColumn<QString>("keys"); // "+k" press, "-k" release; s is the space bar
    QTest::addColumn<int>("clicks");
    QTest::newRow("press and release") << "+s -s" << 1;
    QTest::newRow("another key released while space is held") << "+s -a" << 0;
    QTest::newRow("another key pressed in between") << "+s +a -s" << 0;
    QTest::newRow("space pressed again after another key") << "+a +s -a -s" << 1;
}

void TestInteraction::spaceBar()
{
    QFETCH(QString, keys);
    QFETCH(int, clicks);
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
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

void TestInteraction::checkBoxToggles()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    form.button->setCheckBoxBehaviour(true);
    auto *d = TOVAButtonPrivate::get(form.button);
    QSignalSpy changed(form.button, &TOVAButton::PropertyChanged);

    QTest::mouseClick(form.button, Qt::LeftButton);
    QVERIFY(form.button->Value());
    QCOMPARE(d->LastState, quint8(2)); // stays pressed
    QTest::mouseClick(form.button, Qt::LeftButton);
    QVERIFY(!form.button->Value());
    QCOMPARE(d->LastState, quint8(0));

    form.button->setFocus();
    QTest::keyClick(form.button, Qt::Key_Space);
    QVERIFY(form.button->Value());
    QCOMPARE(d->LastState, quint8(2));
    // The toggle is not announced as a property change.
    QCOMPARE(changed.count(), 0);
}

void TestInteraction::hover()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    auto *d = TOVAButtonPrivate::get(form.button);
    DrawLog log(*form.button);
    QSignalSpy over(form.button, &TOVAButton::MouseOver);
    QSignalSpy out(form.button, &TOVAButton::MouseOut);

    QTest::mouseMove(form.button, QPoint(20, 10));
    QCOMPARE(over.count(), 1);
    QVERIFY(d->IsOver);
    QVERIFY(d->OverTimer.isActive());
    QCOMPARE(d->OverTimer.interval(), 3);
    QVERIFY(log.entries.contains("Draw 0 forced"));
    QTest::mouseMove(form.button, QPoint(60, 20));
    QCOMPARE(over.count(), 1);

    // The pointer is now over the field below; the last move the button hears of finds it outside.
    QCursor::setPos(form.second->mapToGlobal(QPoint(5, 5)));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 45), form.button->mapToGlobal(QPointF(60, 45)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    log.entries.clear();
    QCoreApplication::sendEvent(form.button, &move);
    QCOMPARE(out.count(), 0);
    QCOMPARE(log.entries, QStringList({"Draw 0 lazy"}));
    QTRY_COMPARE(out.count(), 1);
    QVERIFY(!d->IsOver);
    QVERIFY(!d->OverTimer.isActive());
    QCOMPARE(over.count(), 1);
}

void TestInteraction::leftButtonHeldInside()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    auto *d = TOVAButtonPrivate::get(form.button);
    QTest::mouseMove(form.button, QPoint(20, 10));
    QVERIFY(d->IsOver);
    DrawLog log(*form.button);
    QSignalSpy out(form.button, &TOVAButton::MouseOut);
    QMouseEvent drag(QEvent::MouseMove, QPointF(25, 12), form.button->mapToGlobal(QPointF(25, 12)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.button, &drag);
    QCOMPARE(log.entries, QStringList({"Draw 2 lazy"}));
    QVERIFY(!d->IsOver);
    // The timer of the earlier hover still reports the pointer leaving.
    QCursor::setPos(form.first->mapToGlobal(QPoint(5, 5)));
    QTRY_COMPARE(out.count(), 1);
}

void TestInteraction::arrowKeysMoveTheFocus_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("forwards");
    QTest::newRow("left") << Qt::Key_Left << false;
    QTest::newRow("up") << Qt::Key_Up << false;
    QTest::newRow("right") << Qt::Key_Right << true;
    QTest::newRow("down") << Qt::Key_Down << true;
}

void TestInteraction::arrowKeysMoveTheFocus()
{
    QFETCH(Qt::Key, key);
    QFETCH(bool, forwards);
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    form.button->setFocus();
    QVERIFY(form.button->hasFocus());
    int keyDowns = 0;
    connect(form.button, &TOVAButton::KeyDown, form.button, [&keyDowns](short &, short &) { ++keyDowns; });
    QTest::keyClick(form.button, key);
    QCOMPARE(keyDowns, 1);
    // The keystroke is sent, not processed at once.
    QVERIFY(form.button->hasFocus());
    QWidget *expected = forwards ? static_cast<QWidget *>(form.second) : form.first;
    QTRY_VERIFY(expected->hasFocus());
}

void TestInteraction::focusRedraws()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    auto *d = TOVAButtonPrivate::get(form.button);
    DrawLog log(*form.button);
    form.button->setFocus();
    QVERIFY(d->HasFocus);
    form.first->setFocus();
    QVERIFY(!d->HasFocus);
    QCOMPARE(log.entries, QStringList({"Draw 0 forced", "Draw 0 forced"}));
}

void TestInteraction::suspendedDrawingStillRaisesEvents()
{
    Form form;
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    form.button->setFocus();
    auto *d = TOVAButtonPrivate::get(form.button);
    const QImage before = d->BackBuffer;
    form.button->DisableRefresh();
    DrawLog log(*form.button);
    followEvents(form.button, log);
    QTest::keyClick(form.button, Qt::Key_Space);
    QCOMPARE(log.entries, QStringList({"KeyDown 32 0", "Draw 2 lazy", "KeyPress 32", "KeyUp 32 0",
                                       "Draw 0 lazy", "Click"}));
    QCOMPARE(d->BackBuffer, before);
    QCOMPARE(d->LastState, quint8(0));
}

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
