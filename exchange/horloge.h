#pragma once

#include <QDateTime>

#include <functional>

// Where the request builder reads the local date and time; tests put a fixed or stepping clock here.
using Horloge = std::function<QDateTime()>;

// The system's local date and time.
inline Horloge horlogeSysteme()
{
    return [] { return QDateTime::currentDateTime(); };
}
