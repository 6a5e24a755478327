#include "quantite.h"

#include "runtimeerror.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace Quantite {

bool estNumerique(QStringView texte)
{
    static const QRegularExpression nombre(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return nombre.match(texte.toString()).hasMatch();
}

QString valeurAbsolue(QStringView texte)
{
    const QLocale c = QLocale::c();
    bool ok = false;
    double valeur = c.toDouble(texte.trimmed(), &ok);
    if (!std::isfinite(valeur) || (!ok && valeur != 0.0))
        throw RuntimeError::overflow();
    // A value too small for a double reads as zero, as the platform does.
    if (!ok)
        valeur = 0.0;
    return c.toString(std::fabs(valeur), 'g', 15);
}

} // namespace Quantite
