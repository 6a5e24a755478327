#pragma once

#include <QtCore/qglobal.h>

// Symbols of the TOVA_Button library that hosts, the Designer plugin and tests may use.
#if defined(TOVA_BUTTON_LIBRARY)
#define TOVA_BUTTON_EXPORT Q_DECL_EXPORT
#else
#define TOVA_BUTTON_EXPORT Q_DECL_IMPORT
#endif
