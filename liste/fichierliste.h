#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a list file (Liste.txt, or a text or CSV file the pharmacist opens), read so that
// the file cannot freeze the program or exhaust its memory: only a regular file of at most 16 MiB
// (a list of 16 MiB is far beyond any order) is read. A pipe would wait for a writer forever, a
// device such as /dev/zero never ends.
struct FichierListe {
    QByteArray octets;
    QString raison; // why nothing was read, in a few French words; empty when read
    bool absent = false;
};

FichierListe lisFichierListe(const QString &chemin);
