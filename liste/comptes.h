#pragma once

#include <QList>
#include <QString>

// The wholesaler accounts of the settings file: account n (1 or 2) is complete when its six settings
// of CompteRepartiteur::clesCompletes() are all non-empty.
namespace Comptes {

bool complet(int n);
// The complete accounts, in number order.
QList<qint16> complets();
// The wholesaler's name of account n (its "NomRepart" setting).
QString nom(int n);

} // namespace Comptes
