#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// The settings file "Solvarin.ini" in the program's settings folder. Every setting is read and
// written one value at a time, when it is needed; nothing is cached.
namespace FichierINI {

// The folder of the settings and of every file kept with them (trace, list, history); chosen at
// start-up by DossierParametres.
void setRepertoireProgramme(const QString &directory);
QString repertoireProgramme();

// Shows an unexpected failure: title "Lecture Error" or "Ecriture Error", text
// description + CR + number. The program installs a critical message box; by default nothing shows.
using Rapporteur = std::function<void(const QString &title, const QString &text)>;
void setRapporteur(Rapporteur rapporteur);

// The path used by the last read or write.
QString CheminIni();

// The stored value (at most 1023 characters), or `defaut` when the file or the key is absent.
// An empty `file` means the settings file. Only a regular file is read, and at most its first
// 16 MiB; anything else there (a pipe, a device) is told once as a "Lecture Error" naming the file,
// and gives `defaut`.
QString LireIni(const QString &section, const QString &key, const QString &defaut, const QString &file = {});
// The same, without a default: nothing when the file or the key is absent. A value that cannot be
// read for an unexpected failure (told as a "Lecture Error") is empty.
std::optional<QString> LireIniPresente(const QString &section, const QString &key, const QString &file = {});

// Stores the value, creating the file, section and key as needed; the file keeps its encoding.
// Writers, in this process or another, take turns through the lock file "<file>.lock" beside it,
// and the file is replaced atomically. Non-zero when stored, 0 when the file cannot be written
// (nothing is shown then; RaisonRefus tells why): it is then left byte for byte as it was.
qint32 EcrireIni(const QString &section, const QString &key, const QString &value, const QString &file = {});

// Why the last EcrireIni stored nothing, in a few French words for the user ("disque plein",
// "fichier en lecture seule", ...); empty after a write that succeeded.
QString RaisonRefus();

// How long a write waits for another writer's lock before giving up (2 seconds by default).
// A lock left by a process that has ended, even an empty one, is taken over at once, and the
// temporary copies such a process left are removed.
void setAttenteVerrou(std::chrono::milliseconds wait);

bool FichierExiste(const QString &path);

} // namespace FichierINI
