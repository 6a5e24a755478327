#pragma once

#include "tovabutton_global.h"

#include <QFont>
#include <QString>

class QWidget;

// What the form hosting a control tells it about itself (its ambient properties). The defaults
// describe a running program and read the control's parent widget; a host overrides what it knows
// better (a form designer reports user mode false, a dialog reports its default button).
class TOVA_BUTTON_EXPORT TOVAAmbient {
public:
    virtual ~TOVAAmbient();

    // False while the form is being designed.
    virtual bool userMode(const QWidget *control) const;
    // The name the form knows the control by: its object name, else its class name.
    virtual QString displayName(const QWidget *control) const;
    // The parent's font (the application's font without a parent).
    virtual QFont font(const QWidget *control) const;
    // RGB values 0x00BBGGRR of the parent's background and text colours.
    virtual quint32 backColor(const QWidget *control) const;
    virtual quint32 foreColor(const QWidget *control) const;
    // True when the form shows the control as its default button.
    virtual bool displayAsDefault(const QWidget *control) const;
};
