#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class TOVAPropertyBag;

// Renders TOVAButton controls to images, as a person reviewing the styles sees them.
namespace ButtonShot {

struct Look {
    QSize size{100, 24};
    bool hover = false;
    bool down = false;
    bool focus = false;
    bool asDefault = false; // the host shows the control as its default button
};

// Fills `bag` from KEY=VALUE arguments (property-bag keys of the control). Colours and numbers are
// decimal or 0x-hexadecimal, Booleans 0/-1/1/true/false, pictures and icons image files, the font
// "family,points[,bold]". Returns an empty string on success, else what is wrong.
QString parseProperties(const QStringList &assignments, TOVAPropertyBag &bag);

// One control with those stored properties in the given look. Pixels outside the control's window
// region are fully transparent.
QImage render(const TOVAPropertyBag &bag, const Look &look);

// One sheet with every style in every state and colour scheme.
QImage gallery();

} // namespace ButtonShot
