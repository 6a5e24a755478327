#include "buttontest.h"
#include "tovapropertybag.h"

#include <QKeySequence>
#include <QMetaProperty>

namespace {

// A window with a field, the button and another field, in that focus order, the button focused.
struct Form {
    Form()
    {
        first->setGeometry(10, 10, 100, 22);
        button->setGeometry(10, 40, 100, 30);
        second->setGeometry(10, 80, 100, 22);
        window.resize(200, 120);
        window.show();
        window.activateWindow();
        if (QTest::qWaitForWindowActive(&window))
            button->setFocus();
    }

    QWidget window;
    QLineEdit *first = new QLineEdit(&window);
    TOVAButton *button = new TOVAButton(&window);
    QLineEdit *second = new QLineEdit(&window);
    TOVAButtonPrivate *d = TOVAButtonPrivate::get(button);
};

// Every stored property away from its default.
void changeEverything(TOVAButton &button)
{
    for (const QString &assignment :
         QStringList{"ButtonType=KDE2", "Caption=Dispo &1 && 2", "Enabled=false", "ColorScheme=Custom",
                     "ShowFocusRect=false", "BackColor=0x80000005", "BackOver=#EFCDAB", "ForeColor=#302010",
                     "ForeOver=#605040", "MaskColor=#FF00FF", "MousePointer=vbCustom", "UseMaskColor=false",
                     "SoftBevel=true", "PicturePosition=cbBottom", "UseGreyscale=true",
                     "SpecialEffect=cbShadowed", "CheckBoxBehaviour=true", "Value=true"})
        QVERIFY2(setFromText(&button, assignment) &&
                     button.property(qPrintable(assignment.section('=', 0, 0))) !=
                         TOVAButton().property(qPrintable(assignment.section('=', 0, 0))),
                 qPrintable(assignment));
    button.setFont(QFont("DejaVu Sans Mono", 12, QFont::Bold, true));
    button.setMouseIcon(solid(5, 4, 0xFF0000FF));
    button.setPictureNormal(solid(3, 7, 0xFF00FF00));
    button.setPictureOver(solid(3, 7, 0xFFFFFF00));
}

} // namespace

class TestButtonBehaviour : public QObject {
    Q_OBJECT
private slots:
    // "STEP; STEP... => ENTRY | ENTRY...": what the button on a form does, in order: its DrawButton requests
    // ("Draw STATE forced|lazy"), property notifications ("Changed KEY"), MouseDown and MouseUp with their
    // arguments, MouseOver, MouseOut, Click, and what the probes read. Steps: "press|release B X Y" (B 1
    // left, 2 right, 4 middle; Shift held), "move B X Y" (held; MouseMove is logged), "hover X Y", "dclick X
    // Y", "key K", "+K", "-K" (to the focused control), "set Property=value", "suspend", "leave" (the pointer
    // to the field below), "wait" (for the hover timer to stop); probes "state", "value", "moved" (the focus,
    // once it has left).
    void script_data()
    {
        QTest::addColumn<QString>("script");
        const QString pressed = " => MouseDown 1 1 50,15 | Draw 2 lazy | ";
        const QStringList rows = {
            // Only the left button clicks, and only released inside; the right one draws nothing.
            "press 1 50 15; release 1 50 15 => MouseDown 1 1 50,15 | Draw 2 lazy | MouseUp 1 1 50,15 | Draw "
            "0 lazy | Draw 0 forced | Click",
            "press 1 50 15; release 1 50 45 => MouseDown 1 1 50,15 | Draw 2 lazy | MouseUp 1 1 50,45 | Draw "
            "0 lazy",
            "press 2 50 15; release 2 50 15 => MouseDown 2 1 50,15 | MouseUp 2 1 50,15",
            "press 4 50 15; release 4 50 15 => MouseDown 4 1 50,15 | Draw 2 lazy | MouseUp 4 1 50,15 | Draw "
            "0 lazy",
            // The second press of a double click is drawn again and reported at 0, 0.
            "hover 30 10; dclick 30 10 => Draw 0 forced | MouseOver | MouseDown 1 0 30,10 | Draw 2 lazy | "
            "MouseUp 1 0 30,10 | Draw 0 lazy | Draw 0 forced | Click | MouseDown 1 0 0,0 | Draw 2 lazy | "
            "MouseUp 1 0 30,10 | Draw 0 lazy",
            // The space bar clicks when released right after it was pressed.
            "+Space; -Space => Draw 2 lazy | Draw 0 lazy | Click", "+Space; -A => Draw 2 lazy",
            "+Space; +A; -Space => Draw 2 lazy",
            "+A; +Space; -A; -Space => Draw 2 lazy | Draw 0 lazy | Click",
            // Entering raises MouseOver once; the 3 ms timer, not the last move, finds the pointer gone. A
            // move with the middle button held raises MouseMove only; with the left one, the down look.
            "move 4 20 5; hover 20 10; hover 60 20; move 1 25 12; leave; move 0 60 45; wait => MouseMove 4 2 "
            "20,5 | Draw 0 forced | MouseOver | MouseMove 1 2 25,12 | Draw 2 lazy | MouseMove 0 2 60,45 | "
            "Draw 0 lazy | Draw 0 forced | MouseOut",
            // The arrow keys send (Shift+)Tab, which is processed after the handler.
            "key Left; moved => Draw 0 forced | Focus first", "key Up; moved => Draw 0 forced | Focus first",
            "key Right; moved => Draw 0 forced | Focus second",
            "key Down; moved => Draw 0 forced | Focus second",
            // As a check box each click inverts Value, unannounced, and the look stays down while it is set;
            // the mouse, the space bar and the access key (of the current caption) all click.
            "set Value=true; set Caption=&Quitter; set Caption=&Envoyer; state; set CheckBoxBehaviour=true; "
            "state; key Space; value; state; key Alt+Q; key Alt+E; value => Changed VALUE | Draw 0 forced | "
            "Changed TX | Draw 0 forced | Changed TX | LastState 0 | Draw 0 forced | Changed CHECK | "
            "LastState 2 | Draw 2 lazy | Draw 0 lazy | Click | Value false | LastState 0 | Draw 0 forced | "
            "Click | Value true",
            "set CheckBoxBehaviour=true; press 1 50 15; release 1 50 15; value; state => Draw 0 forced | "
            "Changed CHECK | MouseDown 1 1 50,15 | Draw 2 lazy | MouseUp 1 1 50,15 | Draw 0 lazy | Draw 0 "
            "forced | Click | Value true | LastState 2",
            // Disabled (which takes the focus away, a redraw), nothing clicks.
            "set Caption=&Envoyer; set Enabled=false; press 1 50 15; release 1 50 15; key Alt+E => Draw 0 "
            "forced | Changed TX | Draw 0 forced | Draw 0 forced | Changed ENAB",
            // Suspended, the events still come but nothing is drawn.
            "suspend; +Space; state; -Space => Draw 2 lazy | LastState 0 | Draw 0 lazy | Click",
            // Setters redraw the last state (2 after a press) or 0, or nothing, before or after they notify.
            "press 1 50 15; set BackOver=0x112233" + pressed + "Draw 2 forced | Changed BCOLO",
            "press 1 50 15; set MousePointer=vbCrosshair" + pressed + "Changed MPTR",
            "press 1 50 15; set PicturePosition=cbTop" + pressed + "Changed PICPOS | Draw 2 forced"};
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row)) << row;
    }

    void script()
    {
        QFETCH(QString, script);
        Form form;
        QVERIFY(form.button->hasFocus());
        QStringList log;
        form.d->DrawObserver = [&log](TOVAButtonPrivate::State state, bool force) {
            log << QStringLiteral("Draw %1 %2").arg(int(state) * 2).arg(force ? "forced" : "lazy");
        };
        const auto mouse = [&log](const char *name) {
            return [&log, name](short &b, short &s, float &x, float &y) {
                log << QStringLiteral("%1 %2 %3 %4,%5").arg(name).arg(b).arg(s).arg(x).arg(y);
            };
        };
        TOVAButton *b = form.button;
        connect(b, &TOVAButton::MouseDown, b, mouse("MouseDown"));
        connect(b, &TOVAButton::MouseUp, b, mouse("MouseUp"));
        connect(b, &TOVAButton::Click, b, [&log] { log << "Click"; });
        connect(b, &TOVAButton::MouseOver, b, [&log] { log << "MouseOver"; });
        connect(b, &TOVAButton::MouseOut, b, [&log] { log << "MouseOut"; });
        connect(b, &TOVAButton::PropertyChanged, b, [&log](const QString &key) { log << "Changed " + key; });
        const auto focused = [&form] {
            const QWidget *w = QApplication::focusWidget();
            return QString(w == form.first ? "first" : w == form.second ? "second" : "button");
        };
        for (const QString &step : script.section(" => ", 0, 0).split("; ")) {
            const QStringList w = step.split(' ');
            const QPoint at(w.value(w.size() - 2).toInt(), w.last().toInt());
            const auto held = Qt::MouseButton(w.value(1).toInt());
            const QKeyCombination key = QKeySequence(w.last().mid(w[0] == "key" ? 0 : 1))[0];
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &form.window;
            if (w[0] == "press") {
                QTest::mousePress(b, held, Qt::ShiftModifier, at);
            } else if (w[0] == "release") {
                QTest::mouseRelease(b, held, Qt::ShiftModifier, at);
            } else if (w[0] == "move") {
                const auto logged = connect(b, &TOVAButton::MouseMove, b, mouse("MouseMove"));
                QMouseEvent move(QEvent::MouseMove, at, b->mapToGlobal(at), Qt::NoButton, held,
                                 Qt::ControlModifier);
                QCoreApplication::sendEvent(b, &move);
                disconnect(logged);
            } else if (w[0] == "hover") {
                QTest::mouseMove(b, at);
            } else if (w[0] == "dclick") {
                QTest::mouseDClick(form.window.windowHandle(), Qt::LeftButton, {},
                                   b->mapTo(&form.window, at));
            } else if (w[0] == "key") {
                QTest::keyClick(target, key.key(), key.keyboardModifiers());
            } else if (w[0].startsWith('+')) {
                QTest::keyPress(target, key.key());
            } else if (w[0].startsWith('-')) {
                QTest::keyRelease(target, key.key());
            } else if (w[0] == "set") {
                QVERIFY(setFromText(b, step.mid(4)));
            } else if (w[0] == "suspend") {
                b->DisableRefresh();
            } else if (w[0] == "leave") {
                QCursor::setPos(form.second->mapToGlobal(QPoint(5, 5)));
            } else if (w[0] == "wait") {
                QVERIFY(QTest::qWaitFor([&] { return !form.d->OverTimer.isActive(); }));
            } else if (w[0] == "moved") {
                QVERIFY(QTest::qWaitFor([&] { return focused() != "button"; }));
                log << "Focus " + focused();
            } else {
                log << (w[0] == "state" ? QStringLiteral("LastState %1").arg(int(form.d->LastState) * 2)
                                        : QStringLiteral("Value %1").arg(b->Value() ? "true" : "false"));
            }
        }
        form.d->DrawObserver = nullptr;
        QCOMPARE(log.join(" | "), script.section(" => ", 1));
    }

    void accessKey_data()
    {
        QTest::addColumn<QString>("caption"); // then the key, after "|"
        for (const char *row : {"&|", "Envoyer|", "&Envoyer|e", "a&b&c|b", "Envoyer&|", "Pierre && Fils|",
                                "R && D &Nord|n", "R && D&|", "a&&b&&c|", "a&&b&&&x|"})
            QTest::newRow(row) << QString(row);
    }

    void accessKey()
    {
        QFETCH(QString, caption);
        TOVAButton button;
        button.setCaption(caption.section('|', 0, 0));
        QCOMPARE(button.AccessKeys(), caption.section('|', 1));
    }

    // Every property written is read back as written, under the keys and the types stored files hold, without
    // drawing; a stored hand pointer False keeps the stored pointer and icon. A key missing gives what a new
    // control has (BCOLO the stored BackColor; the font stays); pictures not set store nothing.
    void persistence()
    {
        TOVAButton source, copy;
        changeEverything(source);
        TOVAPropertyBag bag;
        source.WriteProperties(bag);
        QStringList types;
        for (const QString &key : bag.keys())
            types << key + ':' + bag.value(key).metaType().name();
        QCOMPARE(types.join(' '),
                 "BTYPE:int TX:QString ENAB:bool FONT:QFont COLTYPE:int FOCUSR:bool BCOL:int BCOLO:int "
                 "FCOL:int FCOLO:int MCOL:int MPTR:short MICON:TOVAPicture PICN:TOVAPicture PICH:TOVAPicture "
                 "UMCOL:bool SOFT:bool PICPOS:int NGREY:bool FX:int HAND:bool CHECK:bool VALUE:bool");
        int draws = 0;
        TOVAButtonPrivate::get(&copy)->DrawObserver = [&draws](TOVAButtonPrivate::State, bool) { ++draws; };
        copy.ReadProperties(bag);
        QCOMPARE(draws, 0);
        const auto sameAs = [&copy](const TOVAButton &expected, bool allButFontAndCaption) {
            const QMetaObject &meta = TOVAButton::staticMetaObject;
            for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
                const QByteArray name = meta.property(i).name();
                if (meta.property(i).isWritable() &&
                    !(allButFontAndCaption && (name.startsWith("Font") || name == "Caption")))
                    QVERIFY2(copy.property(name) == expected.property(name), name);
            }
        };
        sameAs(source, false);
        QCOMPARE(copy.AccessKeys(), QStringLiteral("1"));
        bag.remove("BCOLO");
        copy.ReadProperties(bag);
        QCOMPARE(copy.BackOver(), source.BackColor());
        copy.ReadProperties(TOVAPropertyBag());
        sameAs(TOVAButton(), true);
        QCOMPARE(copy.Font(), source.Font());
        TOVAButton().WriteProperties(bag);
        QVERIFY(!bag.contains("MICON") && !bag.contains("PICN") && !bag.contains("PICH"));
    }
};

QTEST_MAIN(TestButtonBehaviour)
#include "tst_behaviour.moc"
