// Real servers of the system (nginx, squid) for the interoperability tests: each runs from its
// configuration in this folder, in a temporary folder of its own, on free loopback ports, and stops
// with the test. What cannot start says why, so that the test skips with that reason.
#pragma once

#include "serveursessai.h"

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class ServeurReel {
public:
    ServeurReel();
    ~ServeurReel();

    // A folder the server's unprivileged user may read and write.
    QString dossier() const { return m_dossier.path(); }
    QString fichier(const QString &nom) const { return m_dossier.filePath(nom); }

    // Writes `modele` (a file of this folder) into the server's folder with every @KEY@ of
    // `valeurs` replaced (@DIR@ and @USER@ are set here), starts `programme` with `arguments` and
    // waits until `port` accepts connections. Empty when it runs, else why it does not.
    QString demarre(const QString &programme, const QStringList &arguments, const QString &modele,
                    QMap<QString, QString> valeurs, const QString &utilisateur, quint16 port);

private:
    QTemporaryDir m_dossier;
    std::unique_ptr<QProcess> m_processus;
};

// A test authority and a certificate it signs for 127.0.0.1 (files ac.pem, serveur.pem and
// serveur.key in `dossier`). Empty when made, else why not.
QString certificatsEssai(const QString &dossier);
