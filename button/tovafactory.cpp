#include "tovafactory.h"

#include "tovabutton.h"

#include <cstring>

QWidget *TOVA_CreateControl(const char *classId, QWidget *parent)
{
    if (!classId || std::strcmp(classId, TOVA_BUTTON_CLASS_ID) != 0)
        return nullptr;
    return new TOVAButton(parent);
}
