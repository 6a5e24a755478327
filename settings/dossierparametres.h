#pragma once

#include <QString>

// Where the program keeps its files (Solvarin.ini, Trace.xml, Liste.txt, the history): beside the
// program when its folder can be written, as in a copied folder; else, and always when it is
// installed (<prefix>/bin beside <prefix>/share/solvarin, which even root must not write into), the
// user's own folder $XDG_CONFIG_HOME/Solvarin (~/.config/Solvarin), created on first run. A
// Solvarin.ini prepared by a technician beside the program, in <prefix>/etc/solvarin or in
// /etc/solvarin is copied there the first time, readable by the user alone.
namespace DossierParametres {

// The folder for a program in `dossierProgramme`. When the user's folder cannot be made it is
// returned all the same: every write there then fails as in a read-only folder, and nothing is
// written anywhere else.
QString etablis(const QString &dossierProgramme);

// The folder for the program running, made the folder of every file (FichierINI).
QString etablisPourCeProgramme();

// A file shipped with the program: beside it, or in <prefix>/share/solvarin once installed.
QString fichierLivre(const QString &nom);

} // namespace DossierParametres
