#pragma once

#include "tovabutton_p.h"

#include <QStringList>

// Records what happens to a button, in order: its DrawButton requests as "Draw state forced|lazy"
// and, when asked, its property notifications as "Changed KEY".
class DrawLog {
public:
    explicit DrawLog(TOVAButton &button) : m_button(button)
    {
        TOVAButtonPrivate::get(&button)->DrawObserver = [this](quint8 state, bool force) {
            entries.append(QStringLiteral("Draw %1 %2").arg(state).arg(force ? "forced" : "lazy"));
        };
    }
    ~DrawLog() { TOVAButtonPrivate::get(&m_button)->DrawObserver = nullptr; }

    void followNotifications()
    {
        QObject::connect(&m_button, &TOVAButton::PropertyChanged, &m_button,
                         [this](const QString &key) { entries.append(QStringLiteral("Changed ") + key); });
    }

    QStringList entries;

private:
    TOVAButton &m_button;
};
