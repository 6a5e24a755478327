#pragma once

#include <QString>

#include <functional>

// The settings file "Solvarin.ini" in the program's directory. Every setting is read and written
// one value at a time, when it is needed; nothing is cached.
namespace FichierINI {

// The directory holding the program (and so the settings and trace files).
void setRepertoireProgramme(const QString &directory);
QString repertoireProgramme();

// Shows an unexpected failure: title "Lecture Error" or "Ecriture Error", text
// description + CR + number. The program installs a critical message box; by default nothing shows.
using Rapporteur = std::function<void(const QString &title, const QString &text)>;
void setRapporteur(Rapporteur rapporteur);

// The path used by the last read or write.
QString CheminIni();

// The stored value (at most 1023 characters), or `defaut` when the file or the key is absent.
// An empty `file` means the settings file.
QString LireIni(const QString &section, const QString &key, const QString &defaut, const QString &file = {});

// Stores the value, creating the file, section and key as needed; the file is replaced atomically.
// Non-zero when stored, 0 when the file cannot be written (nothing is shown then).
qint32 EcrireIni(const QString &section, const QString &key, const QString &value, const QString &file = {});

bool FichierExiste(const QString &path);

} // namespace FichierINI
