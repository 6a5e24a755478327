#include "repartiteurs.h"

namespace Repartiteurs {

const QStringList &noms()
{
    static const QStringList list{
        QStringLiteral("ALLIANCE SANTE"),
        QStringLiteral("CERP BRETAGNE"),
        QStringLiteral("CERP GUYANE"),
        QStringLiteral("CERP LORRAINE"),
        QStringLiteral("CERP MARTINIQUE"),
        QStringLiteral("CERP REUNION"),
        QStringLiteral("CERP RHIN RHONE MEDITERRANNEE"),
        QStringLiteral("CERP ROUEN"),
        QStringLiteral("COPHAGUY"),
        QStringLiteral("GROUPE OCP"),
        QStringLiteral("GPG SA"),
        QStringLiteral("PHARMAR"),
        QStringLiteral("PHOENIX"),
        QStringLiteral("SOREDIP REUNION"),
        QStringLiteral("SOPHARMA"),
        QStringLiteral("SGP GUYANE"),
        QStringLiteral("ORP"),
    };
    return list;
}

std::optional<int> identifiant(const QString &nom)
{
    const qsizetype position = noms().indexOf(nom);
    if (position < 0)
        return std::nullopt;
    return static_cast<int>(position) + 11;
}

} // namespace Repartiteurs
