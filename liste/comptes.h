#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The wholesaler accounts of the settings file (section "Infos"): account n (1 or 2) is complete when
// its six settings "NomRepart", "IdRepart", "CodeRepart", "URLRepart", "NumeroCli" and "ClefCli",
// each followed by n, are all non-empty.
namespace Comptes {

// The six stems, in that order.
const QStringList &cles();

bool complet(int n);
// The complete accounts, in number order.
QList<qint16> complets();
// The wholesaler's name of account n ("NomRepart" + n).
QString nom(int n);

} // namespace Comptes
