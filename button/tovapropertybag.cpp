#include "tovapropertybag.h"

#include "tovapicture.h"

qsizetype TOVAPropertyBag::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant TOVAPropertyBag::readProperty(const QString &key, const QVariant &defaultValue) const
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return defaultValue;
    QVariant stored = m_entries[i].second;
    if (!defaultValue.isValid() || stored.metaType() == defaultValue.metaType())
        return stored;
    if (!stored.convert(defaultValue.metaType()))
        return defaultValue;
    return stored;
}

void TOVAPropertyBag::writeProperty(const QString &key, const QVariant &value)
{
    const bool nothing = !value.isValid() ||
                         (value.metaType() == QMetaType::fromType<TOVAPicture>() &&
                          value.value<TOVAPicture>().isNull());
    const qsizetype i = indexOf(key);
    if (nothing) {
        if (i >= 0)
            m_entries.removeAt(i);
    } else if (i >= 0) {
        m_entries[i].second = value;
    } else {
        m_entries.append({key, value});
    }
}

bool TOVAPropertyBag::contains(const QString &key) const { return indexOf(key) >= 0; }

QVariant TOVAPropertyBag::value(const QString &key) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? QVariant() : m_entries[i].second;
}

QStringList TOVAPropertyBag::keys() const
{
    QStringList result;
    for (const auto &entry : m_entries)
        result.append(entry.first);
    return result;
}

void TOVAPropertyBag::remove(const QString &key)
{
    const qsizetype i = indexOf(key);
    if (i >= 0)
        m_entries.removeAt(i);
}
