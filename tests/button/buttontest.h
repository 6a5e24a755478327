#pragma once

#include "pixelmap.h"
#include "tovabutton.h"
#include "tovabutton_p.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

// Colours of the button's pixel maps: the fixed grey palette (F face C0, L light DF, H highlight FF,
// S shadow 80, D dark shadow 00) and the shifts of it that the styles use (e S(Light, +8), k S(Shadow, -16),
// a S(Shadow, -64), b S(Shadow, -32), c S(Face, +12), g S(Shadow, -26), d S(Shadow, +26), n S(Shadow, +13),
// q S(Shadow, -50), f S(Face, -9), l S(Face, +40), x S(Face, -40)); the Office XP selection s and its hover
// fill o; the test pictures' red r and blue B, red in grey y, grey 129 v, red blended over the face m.
inline const QHash<QChar, QRgb> legend = {{'F', grey(0xC0)},
                                          {'L', grey(0xDF)},
                                          {'H', grey(0xFF)},
                                          {'S', grey(0x80)},
                                          {'D', grey(0x00)},
                                          {'e', grey(0xE7)},
                                          {'k', grey(0x70)},
                                          {'a', grey(0x40)},
                                          {'b', grey(0x60)},
                                          {'c', grey(0xCC)},
                                          {'g', grey(0x66)},
                                          {'d', grey(0x9A)},
                                          {'n', grey(0x8D)},
                                          {'q', grey(0x4E)},
                                          {'f', grey(0xB7)},
                                          {'l', grey(0xE8)},
                                          {'x', grey(0x98)},
                                          {'s', qRgb(0, 0, 0x80)},
                                          {'o', qRgb(0xAD, 0xAD, 0xD1)},
                                          {'r', qRgb(255, 0, 0)},
                                          {'B', qRgb(0, 0, 255)},
                                          {'y', grey(76)},
                                          {'v', grey(129)},
                                          {'m', qRgb(234, 64, 64)}};

// A w x h bitmap of one colour, its centre pixel in another.
inline TOVAPicture solid(int w, int h, QRgb fill, QRgb centre)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixel(w / 2, h / 2, centre);
    return TOVAPicture::bitmap(image);
}

inline TOVAPicture solid(int w, int h, QRgb fill)
{
    return solid(w, h, fill, fill);
}

// A TOVAButton shown in a host window off screen, with the fixed grey palette and no caption, so that
// its back buffer holds nothing but the drawing primitives' pixels.
struct ButtonFixture {
    explicit ButtonFixture(int type, int w, int h)
    {
        host->resize(w + 20, h + 20);
        button->setCaption(QString());
        button->setColorScheme(TOVAButton::ForceStandard);
        button->setButtonType(TOVAButton::ButtonTypes(type));
        button->setGeometry(0, 0, w, h);
        host->show();
    }

    // Draws the state (0 up, 2 down) as DrawButton does and returns the back buffer.
    const QImage &draw(quint8 state, bool hover = false)
    {
        d->IsOver = hover;
        d->DrawButton(state, true);
        return d->BackBuffer;
    }

    std::unique_ptr<QWidget> host = std::make_unique<QWidget>();
    TOVAButton *button = new TOVAButton(host.get());
    TOVAButtonPrivate *d = TOVAButtonPrivate::get(button);
};

// A window with a field, the button and another field, in that focus order; the caller waits for it.
struct Form {
    Form()
    {
        first->setGeometry(10, 10, 100, 22);
        button->setGeometry(10, 40, 100, 30);
        second->setGeometry(10, 80, 100, 22);
        window.resize(200, 120);
        window.show();
        window.activateWindow();
    }

    bool active() { return QTest::qWaitForWindowActive(&window); }

    QWidget window;
    QLineEdit *first = new QLineEdit(&window);
    TOVAButton *button = new TOVAButton(&window);
    QLineEdit *second = new QLineEdit(&window);
    TOVAButtonPrivate *d = TOVAButtonPrivate::get(button);
};

// Records what happens to a button, in order: its DrawButton requests as "Draw state forced|lazy"
// and, when asked, its property notifications as "Changed KEY".
class DrawLog {
public:
    explicit DrawLog(TOVAButton &button) : m_button(button)
    {
        TOVAButtonPrivate::get(&button)->DrawObserver = [this](quint8 state, bool force) {
            entries.append(QStringLiteral("Draw %1 %2").arg(state).arg(force ? "forced" : "lazy"));
        };
    }
    ~DrawLog() { TOVAButtonPrivate::get(&m_button)->DrawObserver = nullptr; }

    void followNotifications()
    {
        QObject::connect(&m_button, &TOVAButton::PropertyChanged, &m_button,
                         [this](const QString &key) { entries.append(QStringLiteral("Changed ") + key); });
    }

    QStringList entries;

private:
    TOVAButton &m_button;
};
