#pragma once

#include "tovabutton.h"
#include "tovabutton_p.h"

#include <QWidget>

#include <memory>

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
