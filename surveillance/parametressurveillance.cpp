#include "parametressurveillance.h"

#include "fichierini.h"

#include <QTimeZone>

#include <optional>

namespace {

const QStringList nomsJours{QStringLiteral("lun"), QStringLiteral("mar"), QStringLiteral("mer"),
                            QStringLiteral("jeu"), QStringLiteral("ven"), QStringLiteral("sam"),
                            QStringLiteral("dim")};

int jour(const QString &nom)
{
    return int(nomsJours.indexOf(nom.trimmed().toLower().left(3))) + 1;
}

std::optional<QList<int>> litJours(const QString &texte)
{
    QList<int> jours;
    for (const QString &element : texte.split(u',')) {
        const QStringList bornes = element.split(u'-');
        const int debut = jour(bornes.first());
        const int fin = jour(bornes.last());
        if (bornes.size() > 2 || debut == 0 || fin == 0)
            return std::nullopt;
        // A range may wrap past Sunday ("sam-lun").
        for (int j = debut;; j = j % 7 + 1) {
            if (!jours.contains(j))
                jours.append(j);
            if (j == fin)
                break;
        }
    }
    std::sort(jours.begin(), jours.end());
    return jours;
}

std::optional<QList<std::pair<QTime, QTime>>> litHeures(const QString &texte)
{
    QList<std::pair<QTime, QTime>> periodes;
    for (const QString &element : texte.split(u',')) {
        const QStringList bornes = element.split(u'-');
        if (bornes.size() != 2)
            return std::nullopt;
        const QTime debut = QTime::fromString(bornes[0].trimmed(), QStringLiteral("H:mm"));
        const QTime fin = QTime::fromString(bornes[1].trimmed(), QStringLiteral("H:mm"));
        if (!debut.isValid() || !fin.isValid() || fin <= debut)
            return std::nullopt;
        periodes.append({debut, fin});
    }
    std::sort(periodes.begin(), periodes.end());
    return periodes;
}

} // namespace

ParametresSurveillance ParametresSurveillance::lis()
{
    const auto cle = [](const char *nom) {
        return FichierINI::LireIni(QStringLiteral("Surveillance"), QLatin1String(nom), QString());
    };
    return depuis(cle("Intervalle"), cle("Jours"), cle("Heures"), cle("Son"));
}

ParametresSurveillance ParametresSurveillance::depuis(const QString &intervalle, const QString &jours,
                                                      const QString &heures, const QString &son)
{
    ParametresSurveillance p;
    if (!intervalle.trimmed().isEmpty()) {
        bool ok = false;
        const int minutes = intervalle.trimmed().toInt(&ok);
        if (!ok)
            p.avertissements << QStringLiteral(
                                    "Surveillance : intervalle « %1 » illisible, %2 minutes retenues")
                                    .arg(intervalle)
                                    .arg(p.intervalle.count());
        else if (minutes < intervalleMinimum.count())
            p.avertissements << QStringLiteral("Surveillance : intervalle de %1 minutes porté à %2 minutes")
                                    .arg(minutes)
                                    .arg(intervalleMinimum.count());
        if (ok)
            p.intervalle = std::max(intervalleMinimum, std::chrono::minutes(minutes));
    }
    if (!jours.trimmed().isEmpty()) {
        if (const auto lus = litJours(jours))
            p.jours = *lus;
        else
            p.avertissements
                << QStringLiteral("Surveillance : jours « %1 » illisibles, lun-sam retenus").arg(jours);
    }
    if (!heures.trimmed().isEmpty()) {
        if (const auto lues = litHeures(heures))
            p.heures = *lues;
        else
            p.avertissements << QStringLiteral(
                                    "Surveillance : heures « %1 » illisibles, 08:30-19:30 retenues")
                                    .arg(heures);
    }
    const QString s = son.trimmed().toLower();
    p.son = !(s == QLatin1String("0") || s == QLatin1String("non") || s == QLatin1String("false"));
    return p;
}

bool ParametresSurveillance::ouvert(const QDateTime &moment) const
{
    if (!jours.contains(moment.date().dayOfWeek()))
        return false;
    const QTime t = moment.time();
    return std::any_of(heures.begin(), heures.end(),
                       [&](const auto &p) { return p.first <= t && t < p.second; });
}

QDateTime ParametresSurveillance::prochaineOuverture(const QDateTime &moment) const
{
    for (int d = 0; d <= 14; ++d) {
        const QDate date = moment.date().addDays(d);
        if (!jours.contains(date.dayOfWeek()))
            continue;
        for (const auto &periode : heures) {
            const QDateTime debut(date, periode.first, moment.timeZone());
            if (debut > moment)
                return debut;
        }
    }
    return {};
}
