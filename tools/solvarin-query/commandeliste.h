#pragma once

#include <QStringList>

#include <chrono>

// solvarin-query --liste [DIR] [--xlsx FILE] [CODE[,QTY]...]: the valid lines (codes from standard
// input, read as a paste is, when none is given) checked at every complete account of DIR/Solvarin.ini
// (without DIR, of the folder the window uses), one printed line per code (in the list's order) and
// account, fields separated by tabs, each escaped as the one-product output is; with --xlsx, the list
// window's Excel workbook written to FILE too. `arguments` are those after "--liste". Returns the
// exit status: 0 when every account answered, 1 when one failed or none is complete, 2 for wrong
// arguments.
int commandeListe(const QStringList &arguments, std::chrono::milliseconds delai = std::chrono::seconds(60));
