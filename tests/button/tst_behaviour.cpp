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
};

} // namespace

class TestButtonBehaviour : public QObject {
    Q_OBJECT
private slots:
    // "STEP; STEP... => ENTRY | ENTRY...": what the button on a form does, in order: its face drawn anew
    // ("Drawn up|down", raised or pressed, seen before each event and after each step), property
    // notifications ("Changed KEY"), MouseDown and MouseUp with their arguments, MouseOver, MouseOut, Click,
    // and what the probes read. Steps: "press|release B X Y" (B 1 left, 2 right, 4 middle; Shift held),
    // "move B X Y" (held; MouseMove is logged), "hover X Y", "dclick X Y", "key K", "+K", "-K" (to the
    // focused control), "set Property=value", "suspend", "leave" (the pointer to the field below), "wait"
    // (for MouseOut); probes "value", "moved" (the focus, once it has left).
    void script_data()
    {
        QTest::addColumn<QString>("script");
        const QString pressed = " => MouseDown 1 1 50,15 | Drawn down | ";
        const QStringList rows = {
            // Only the left button clicks, and only released inside; the right one draws nothing.
            "press 1 50 15; release 1 50 15" + pressed + "MouseUp 1 1 50,15 | Drawn up | Click",
            "press 1 50 15; release 1 50 45" + pressed + "MouseUp 1 1 50,45 | Drawn up",
            "press 2 50 15; release 2 50 15 => MouseDown 2 1 50,15 | MouseUp 2 1 50,15",
            "press 4 50 15; release 4 50 15 => MouseDown 4 1 50,15 | Drawn down | MouseUp 4 1 50,15 | Drawn "
            "up",
            // The second press of a double click is drawn again and reported at 0, 0.
            "hover 30 10; dclick 30 10 => MouseOver | MouseDown 1 0 30,10 | Drawn down | MouseUp 1 0 30,10 | "
            "Drawn up | Click | MouseDown 1 0 0,0 | Drawn down | MouseUp 1 0 30,10 | Drawn up",
            // The space bar clicks when released right after it was pressed.
            "+Space; -Space => Drawn down | Drawn up | Click", "+Space; -A => Drawn down",
            "+Space; +A; -Space => Drawn down", "+A; +Space; -A; -Space => Drawn down | Drawn up | Click",
            // Entering raises MouseOver once; the 3 ms timer, not the last move, finds the pointer gone. A
            // move with the middle button held raises MouseMove only; with the left one, the down look.
            "move 4 20 5; hover 20 10; hover 60 20; move 1 25 12; leave; move 0 60 45; wait => MouseMove 4 2 "
            "20,5 | MouseOver | MouseMove 1 2 25,12 | Drawn down | MouseMove 0 2 60,45 | Drawn up | MouseOut",
            // The arrow keys send (Shift+)Tab, which is processed after the handler.
            "key Left; moved => Focus first", "key Up; moved => Focus first",
            "key Right; moved => Focus second", "key Down; moved => Focus second",
            // As a check box each click inverts Value, unannounced, and the look stays down while it is set;
            // the mouse, the space bar and the access key (of the current caption) all click.
            "set Value=true; set Caption=&Quitter; set Caption=&Envoyer; set CheckBoxBehaviour=true; key "
            "Space; value; key Alt+Q; key Alt+E; value => Changed VALUE | Drawn up | Changed TX | Drawn up | "
            "Changed TX | Drawn down | Changed CHECK | Drawn up | Click | Value false | Drawn down | Click | "
            "Value true",
            "set CheckBoxBehaviour=true; press 1 50 15; release 1 50 15; value => Changed CHECK | MouseDown "
            "1 1 50,15 | Drawn down | MouseUp 1 1 50,15 | Click | Value true",
            // Disabled (which takes the focus away), nothing clicks.
            "set Caption=&Envoyer; set Enabled=false; press 1 50 15; release 1 50 15; key Alt+E => Drawn up "
            "| Changed TX | Drawn up | Changed ENAB",
            // Suspended, the events still come but nothing is drawn.
            "suspend; +Space; -Space => Click",
            // Setters redraw the state last drawn (down after a press) or the raised face, or nothing, before
            // or after they notify.
            "press 1 50 15; set SpecialEffect=cbEngraved" + pressed + "Drawn down | Changed FX",
            "press 1 50 15; set Caption=Ok" + pressed + "Drawn up | Changed TX",
            "press 1 50 15; set MousePointer=vbCrosshair" + pressed + "Changed MPTR",
            "press 1 50 15; set Font=DejaVu Sans,20" + pressed + "Drawn up | Changed FONT",
            "set Caption=Ok; press 1 50 15; set PicturePosition=cbRight => Drawn up | Changed TX | MouseDown "
            "1 1 50,15 | Drawn down | Changed PICPOS | Drawn down"};
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row)) << row;
    }

    void script()
    {
        QFETCH(QString, script);
        Form form;
        QVERIFY(form.button->hasFocus());
        TOVAButton *b = form.button;
        QStringList log;
        QImage face = b->grab().toImage();
        // The face if drawn anew, then the entry. Raised, the face is lit at its top left and dark at its
        // bottom right; pressed, the other way.
        const auto logged = [&](const QString &entry) {
            const QImage now = b->grab().toImage();
            if (now != face)
                log << (qGray(now.pixel(0, 0)) > qGray(now.pixel(now.rect().bottomRight())) ? "Drawn up"
                                                                                            : "Drawn down");
            face = now;
            if (!entry.isEmpty())
                log << entry;
        };
        const auto mouse = [&logged](const char *name) {
            return [&logged, name](short &b, short &s, float &x, float &y) {
                logged(QStringLiteral("%1 %2 %3 %4,%5").arg(name).arg(b).arg(s).arg(x).arg(y));
            };
        };
        connect(b, &TOVAButton::MouseDown, b, mouse("MouseDown"));
        connect(b, &TOVAButton::MouseUp, b, mouse("MouseUp"));
        connect(b, &TOVAButton::Click, b, [&] { logged("Click"); });
        connect(b, &TOVAButton::MouseOver, b, [&] { logged("MouseOver"); });
        connect(b, &TOVAButton::MouseOut, b, [&] { logged("MouseOut"); });
        connect(b, &TOVAButton::PropertyChanged, b, [&](const QString &key) { logged("Changed " + key); });
        for (const QString &step : script.section(" => ", 0, 0).split("; ")) {
            const QStringList w = step.split(' ');
            const QPoint at(w.value(w.size() - 2).toInt(), w.last().toInt());
            const auto held = Qt::MouseButton(w.value(1).toInt());
            const QKeyCombination key = QKeySequence(w.last().mid(w[0] == "key" ? 0 : 1))[0];
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &form.window;
            if (w[0] == "press" || w[0] == "release") {
                QTest::mouseEvent(w[0] == "press" ? QTest::MousePress : QTest::MouseRelease, b, held,
                                  Qt::ShiftModifier, at);
            } else if (w[0] == "move") {
                const auto moved = connect(b, &TOVAButton::MouseMove, b, mouse("MouseMove"));
                QMouseEvent move(QEvent::MouseMove, at, b->mapToGlobal(at), Qt::NoButton, held,
                                 Qt::ControlModifier);
                QCoreApplication::sendEvent(b, &move);
                disconnect(moved);
            } else if (w[0] == "hover") {
                QTest::mouseMove(b, at);
            } else if (w[0] == "dclick") {
                QTest::mouseDClick(form.window.windowHandle(), Qt::LeftButton, {},
                                   b->mapTo(&form.window, at));
            } else if (w[0] == "key") {
                QTest::keyClick(target, key.key(), key.keyboardModifiers());
            } else if (w[0][0] == '+' || w[0][0] == '-') {
                QTest::keyEvent(w[0][0] == '+' ? QTest::Press : QTest::Release, target, key.key());
            } else if (w[0] == "set") {
                QVERIFY(setFromText(b, step.mid(4)));
            } else if (w[0] == "suspend") {
                b->DisableRefresh();
            } else if (w[0] == "leave") {
                QCursor::setPos(form.second->mapToGlobal(QPoint(5, 5)));
            } else if (w[0] == "wait") {
                QTRY_VERIFY(log.contains("MouseOut"));
            } else if (w[0] == "moved") {
                QTRY_VERIFY(form.first->hasFocus() || form.second->hasFocus());
                log << QString("Focus ") + (form.first->hasFocus() ? "first" : "second");
            } else {
                log << QStringLiteral("Value %1").arg(b->Value() ? "true" : "false");
            }
            logged({});
        }
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
        // Every stored property away from its default.
        for (const QString &assignment : QStringList{
                 "ButtonType=KDE2", "Caption=Dispo &1 && 2", "Enabled=false", "ColorScheme=Custom",
                 "ShowFocusRect=false", "BackColor=0x80000005", "BackOver=#EFCDAB", "ForeColor=#302010",
                 "ForeOver=#605040", "MaskColor=#FF00FF", "MousePointer=vbCustom", "UseMaskColor=false",
                 "SoftBevel=true", "PicturePosition=cbBottom", "UseGreyscale=true",
                 "SpecialEffect=cbShadowed", "CheckBoxBehaviour=true", "Value=true"}) {
            const QByteArray name = assignment.section('=', 0, 0).toLatin1();
            QVERIFY2(setFromText(&source, assignment) && source.property(name) != TOVAButton().property(name),
                     qPrintable(assignment));
        }
        source.setFont(QFont("DejaVu Sans Mono", 12, QFont::Bold, true));
        source.setMouseIcon(solid(5, 4, 0xFF0000FF));
        source.setPictureNormal(solid(3, 7, 0xFF00FF00));
        source.setPictureOver(solid(3, 7, 0xFFFFFF00));
        TOVAPropertyBag bag;
        source.WriteProperties(bag);
        QStringList types;
        for (const QString &key : bag.keys())
            types << key + ':' + bag.value(key).metaType().name();
        QCOMPARE(types.join(' '),
                 "BTYPE:int TX:QString ENAB:bool FONT:QFont COLTYPE:int FOCUSR:bool BCOL:int BCOLO:int "
                 "FCOL:int FCOLO:int MCOL:int MPTR:short MICON:TOVAPicture PICN:TOVAPicture PICH:TOVAPicture "
                 "UMCOL:bool SOFT:bool PICPOS:int NGREY:bool FX:int HAND:bool CHECK:bool VALUE:bool");
        copy.show();
        const QImage face = copy.grab().toImage();
        copy.ReadProperties(bag);
        QCOMPARE(copy.grab().toImage(), face);
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
