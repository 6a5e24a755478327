#pragma once

#include "tovabutton_global.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

// The store a host keeps a control's properties in: keys (compared without regard to case) to typed
// values, kept in the order they were first written. Values are 32-bit integers (int), 16-bit
// integers (short), Booleans (bool), strings (QString), fonts (QFont) and pictures (TOVAPicture).
class TOVA_BUTTON_EXPORT TOVAPropertyBag {
public:
    // The stored value converted to the type of defaultValue, or defaultValue when the key is absent
    // or its value cannot be converted.
    QVariant readProperty(const QString &key, const QVariant &defaultValue) const;
    // Stores the value; an empty picture stores nothing (and drops what the key held).
    void writeProperty(const QString &key, const QVariant &value);

    bool contains(const QString &key) const;
    QVariant value(const QString &key) const;
    QStringList keys() const;
    void remove(const QString &key);

private:
    qsizetype indexOf(const QString &key) const;

    QList<std::pair<QString, QVariant>> m_entries;
};
