#pragma once

#include <QStringList>

#include <chrono>

// solvarin-query --liste DIR [--xlsx FILE] [CODE[,QTY]...]: the valid lines (codes from standard input,
// read as a paste is, when none is given) checked at every complete account of DIR/Solvarin.ini, one
// printed line per code (in code order) and account: CODE, ACCOUNT, STATUT, CODE_REPONSE, DESIGNATION,
// PRIX, MOTIF separated by tabs, each field escaped as the one-product output is; with --xlsx, the list
// window's Excel workbook written to FILE too. `arguments` are those after "--liste". Returns the
// exit status: 0 when every account answered, 1 when one failed or none is complete, 2 for wrong
// arguments.
int commandeListe(const QStringList &arguments, std::chrono::milliseconds delai = std::chrono::seconds(60));
