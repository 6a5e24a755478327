#pragma once

class QString;

// Runs Solvarin: the settings in their folder, its message boxes, its look, and the main window
// until it is closed. Returns the program's exit code.
int lanceSolvarin(int argc, char **argv);

// How the settings file reports an unexpected failure: a critical message box with that title
// ("Lecture Error" or "Ecriture Error") and text.
void montreErreurFichier(const QString &title, const QString &text);
