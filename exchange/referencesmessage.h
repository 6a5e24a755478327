#pragma once

#include <QHash>
#include <QString>

// The REF_MESSAGE of the messages sent to each account: the first one in a given second is that second's
// 14 digits "yyyyMMddHHmmss"; a later one to the same account within the same second gets "-2", "-3"...
// so that a wholesaler that refuses duplicate messages takes every one.
class ReferencesMessage {
public:
    // The reference of the next message to account n, sent in the second `seconde` (its 14 digits).
    QString attribue(qint16 n, const QString &seconde);

    // The one the program's sendings share, whichever window or list sends them.
    static ReferencesMessage &programme();

private:
    struct Dernier {
        QString seconde;
        int envois = 0;
    };
    QHash<qint16, Dernier> m_parCompte;
};
