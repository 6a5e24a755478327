#include "contrainteschema.h"

namespace Schema {

namespace {

// XML's NameChar, for the characters a setting may hold.
bool caractereJeton(QChar c)
{
    return c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_' || c == u':' || c == u'\u00b7' ||
           c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_SpacingCombining;
}

} // namespace

bool respecte(QStringView valeur, const Contrainte &contrainte)
{
    if (contrainte.jeton) {
        valeur = valeur.trimmed();
        for (QChar c : valeur) {
            if (!caractereJeton(c))
                return false;
        }
    }
    return valeur.size() >= contrainte.minimum && valeur.size() <= contrainte.maximum;
}

} // namespace Schema
