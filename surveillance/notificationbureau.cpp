#include "notificationbureau.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace NotificationBureau {

bool envoie(const QString &titre, const QString &texte)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage appel = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Application, replaced id, icon, summary, body, actions, hints, expiry (-1: the server's).
    appel << QStringLiteral("Solvarin") << 0u << QString() << titre << texte << QStringList() << QVariantMap()
          << -1;
    return bus.send(appel);
}

} // namespace NotificationBureau
