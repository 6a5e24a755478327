#include "tovaambient.h"

#include "olecolor.h"

#include <QApplication>
#include <QWidget>

namespace {

QPalette parentPalette(const QWidget *control)
{
    const QWidget *parent = control ? control->parentWidget() : nullptr;
    return parent ? parent->palette() : QApplication::palette();
}

} // namespace

TOVAAmbient::~TOVAAmbient() = default;

bool TOVAAmbient::userMode(const QWidget *) const { return true; }

QString TOVAAmbient::displayName(const QWidget *control) const
{
    if (control && !control->objectName().isEmpty())
        return control->objectName();
    return QStringLiteral("TOVAButton");
}

QFont TOVAAmbient::font(const QWidget *control) const
{
    const QWidget *parent = control ? control->parentWidget() : nullptr;
    return parent ? parent->font() : QApplication::font();
}

quint32 TOVAAmbient::backColor(const QWidget *control) const
{
    return OleColor::fromQColor(parentPalette(control).color(QPalette::Window));
}

quint32 TOVAAmbient::foreColor(const QWidget *control) const
{
    return OleColor::fromQColor(parentPalette(control).color(QPalette::WindowText));
}

bool TOVAAmbient::displayAsDefault(const QWidget *) const { return false; }
