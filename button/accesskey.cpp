#include "tovabutton_p.h"

#include <QKeySequence>

QString accessKeyOf(const QString &caption)
{
    const QChar amp = QLatin1Char('&');
    const qsizetype length = caption.size();
    if (length <= 1)
        return {};
    const qsizetype p = caption.indexOf(amp);
    if (p < 0 || p + 1 >= length)
        return {};
    if (caption[p + 1] != amp)
        return caption.mid(p + 1, 1).toLower();
    // "&&" shows an ampersand; only the next single "&" after it can still mark a key.
    const qsizetype next = caption.indexOf(amp, p + 2);
    if (next < 0 || next + 1 >= length || caption[next + 1] == amp)
        return {};
    return caption.mid(next + 1, 1).toLower();
}

void TOVAButtonPrivate::UpdateAccessKey()
{
    if (ShortcutId != 0) {
        q->releaseShortcut(ShortcutId);
        ShortcutId = 0;
    }
    AccessKey = accessKeyOf(Caption);
    if (!AccessKey.isEmpty())
        ShortcutId = q->grabShortcut(QKeySequence::mnemonic(QLatin1Char('&') + AccessKey));
}
