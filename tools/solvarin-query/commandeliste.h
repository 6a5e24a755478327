#pragma once

#include "lectureliste.h"

#include <QStringList>

#include <chrono>

// The list check of `solvarin-query --liste DIR [CODE[,QTY]...]`: the valid lines checked at every
// complete account of DIR/Solvarin.ini, one printed line per code (in code order) and account:
// CODE, ACCOUNT, STATUT, CODE_REPONSE, DESIGNATION, PRIX, MOTIF separated by tabs, each field escaped
// as the one-product output is.
struct SortieListe {
    QStringList lignes;
    bool toutRepondu = true; // every account answered every request
};
SortieListe verifieListe(const QString &repertoire, const QList<LigneListe> &lignes,
                         std::chrono::milliseconds delai = std::chrono::seconds(60));

// The command itself, given the arguments after "--liste"; codes come from standard input when none is
// given. Returns the exit status: 0 when every account answered, 1 when one failed or none is
// complete, 2 for wrong arguments.
int commandeListe(const QStringList &arguments);
