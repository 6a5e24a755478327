#pragma once

#include <QStringList>

#include <chrono>

// solvarin-query --surveillance DIR [--maintenant]: one round of the watch now, whenever the last one
// ran (within the opening hours unless --maintenant), at every complete account of DIR/Solvarin.ini.
// Prints one tab-separated line per product and account whose state changed, in code then account
// order: CODE, ACCOUNT, AVANT (empty at the product's first check there), APRES (STATUT tokens of
// --liste), DESIGNATION. Exit status 0, 1 when the watch list cannot be read or no account is
// complete, 2 for wrong arguments.
int commandeSurveillance(const QStringList &arguments,
                         std::chrono::milliseconds delai = std::chrono::seconds(60));

// solvarin-query --surveillance-ajoute DIR CODE... and --surveillance-retire DIR CODE...: the watch
// list edited. A code that is no product code is named on standard error, the others still added;
// exit status 2 then, 1 when the list cannot be written, else 0.
int commandeSurveillanceAjoute(const QStringList &arguments);
int commandeSurveillanceRetire(const QStringList &arguments);
