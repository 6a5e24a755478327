#pragma once

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <chrono>

// The watch's settings, section [Surveillance] of Solvarin.ini: "Intervalle" minutes between two
// rounds (30, at least 5), the opening days "Jours" ("lun-sam"; days lun mar mer jeu ven sam dim,
// ranges and lists: "lun-ven,sam") and hours "Heures" ("08:30-19:30"; several periods separated by
// ",": "08:30-12:30,14:00-19:30"), and "Son" (1: a short sound with each alert; 0: none).
struct ParametresSurveillance {
    std::chrono::minutes intervalle{30};
    QList<int> jours{1, 2, 3, 4, 5, 6}; // Qt's day numbers, Monday 1 to Sunday 7
    QList<std::pair<QTime, QTime>> heures{{QTime(8, 30), QTime(19, 30)}};
    bool son = true;
    // What was not taken as written, in words, one message per setting.
    QStringList avertissements;

    static constexpr std::chrono::minutes intervalleMinimum{5};

    // The settings of the program's folder, read now.
    static ParametresSurveillance lis();
    // The same from the values as written (empty: the default).
    static ParametresSurveillance depuis(const QString &intervalle, const QString &jours,
                                         const QString &heures, const QString &son);

    // Whether the pharmacy is open at that moment.
    bool ouvert(const QDateTime &moment) const;
    // The next start of an opening period after that moment (within two weeks; invalid if none).
    QDateTime prochaineOuverture(const QDateTime &moment) const;
};
