#pragma once

#include <QString>

// The desktop's notification service (org.freedesktop.Notifications on the session bus), where there
// is one; elsewhere nothing is shown and nothing waits.
namespace NotificationBureau {

// Sends the notification without waiting for the service; false when there is no session bus.
bool envoie(const QString &titre, const QString &texte);

} // namespace NotificationBureau
