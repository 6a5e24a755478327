#include "referencesmessage.h"

QString ReferencesMessage::attribue(qint16 n, const QString &seconde)
{
    Dernier &d = m_parCompte[n];
    if (d.seconde != seconde) {
        d.seconde = seconde;
        d.envois = 1;
        return seconde;
    }
    return seconde + u'-' + QString::number(++d.envois);
}

ReferencesMessage &ReferencesMessage::programme()
{
    // Every exchange lives in the program's main thread.
    static ReferencesMessage references;
    return references;
}
