#pragma once

// What the button's suites share: test pictures and properties set from text.

#include "colorarith.h"
#include "tovabutton.h"

#include <QLineEdit>
#include <QTest>

// A w x h bitmap of one colour, its centre pixel in another.
inline TOVAPicture solid(int w, int h, QRgb fill, QRgb centre = 0)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixel(w / 2, h / 2, centre ? centre : fill);
    return TOVAPicture::bitmap(image);
}

// Sets a property from "Name=value": colours as #RRGGBB or 0x00BBGGRR, enumerations by name.
inline bool setFromText(TOVAButton *button, const QString &assignment)
{
    const QString value = assignment.section('=', 1);
    const QVariant v = value.startsWith('#') ? QVariant(TovaColor::fromQRgb(value.mid(1).toUInt(nullptr, 16)))
                       : value.startsWith("0x") ? QVariant(value.toUInt(nullptr, 16))
                                                : QVariant(value);
    return button->setProperty(qPrintable(assignment.section('=', 0, 0)), v);
}
