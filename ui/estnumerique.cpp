#include "estnumerique.h"

#include "codeproduit.h"

#include <QLocale>

bool EstNumerique(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    // Words the number parser would take ("inf", "nan") are not numbers to a person.
    for (const QChar c : trimmed) {
        if (c.isLetter() && c != u'e' && c != u'E')
            return false;
    }
    bool ok = false;
    QLocale::system().toDouble(trimmed, &ok);
    if (!ok)
        QLocale::c().toDouble(trimmed, &ok);
    return ok;
}

bool EstCipDuPressePapiers(const QString &text)
{
    return (text.size() == 7 && EstNumerique(text)) || CodeProduit::estEan13Valide(text);
}
