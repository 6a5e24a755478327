#pragma once

#include "tovabutton_global.h"

class QWidget;

extern "C" {

// The class identifier hosts create the button by.
#define TOVA_BUTTON_CLASS_ID "TOVA_Button.TOVAButton"

// A new control of the class named by classId (a TOVAButton for TOVA_BUTTON_CLASS_ID), or nullptr for
// a class this library does not provide. The caller (or the parent) owns it. Hosts that load the
// library at run time resolve this symbol by name.
TOVA_BUTTON_EXPORT QWidget *TOVA_CreateControl(const char *classId, QWidget *parent);

}
