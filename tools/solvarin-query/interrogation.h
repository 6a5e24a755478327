#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

// One availability query for a CIP code, run as the main window runs it: settings from
// DIR/Solvarin.ini, trace written to DIR/Trace.xml, product list "CIP,1", account 1 or 2.
// Returns the lines of the result area that the exchange wrote (see ZoneTexte::lignes).
QStringList interrogeRepartiteur(const QString &repertoire, qint16 compte, const QString &cip,
                                 std::chrono::milliseconds delai = std::chrono::seconds(60));
