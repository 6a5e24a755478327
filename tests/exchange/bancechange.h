// What the loopback exchange tests share: a fresh program folder, a result area for account 1 that
// keeps every caption it was given, and the module with its exchange.
#pragma once

#include "fichierini.h"
#include "modpharmaml.h"
#include "zonetexte.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

inline QStringList erreur(const QString &message, int compte = 1) {
    return {QStringLiteral("LabRetour(%1)\t#FF0000\t").arg(compte) + message,
            QStringLiteral("txtInfos(%1)\t#FF0000\t\\r\\nREQUETE EN ERREUR").arg(compte)};
}

inline const QString delaiDepasse = QStringLiteral("Aucun retour reçu dans les délais !");
inline const QString injoignable = QStringLiteral("Le répartiteur ne répond pas à l'adresse indiquée !");

// An address that cannot be reached, without any traffic leaving the machine:
//   "refused"           a loopback port just closed
//   "unknown host"      a name whose first label is longer than DNS allows, refused before any
//                       look-up leaves the machine
//   "unreachable"       the broadcast address, which TCP refuses locally
//   "connect time-out"  a loopback listener that accepts nothing and whose queue is full, so that
//                       the kernel drops every further handshake
class AdresseInjoignable {
public:
    explicit AdresseInjoignable(const QString &genre)
    {
        if (genre == QLatin1String("unknown host")) {
            hote = QString(64, u'r') + QStringLiteral(".invalid");
            return;
        }
        if (genre == QLatin1String("unreachable")) {
            hote = QStringLiteral("255.255.255.255");
            return;
        }
        m_serveur.setListenBacklogSize(0);
        if (!m_serveur.listen(QHostAddress::LocalHost))
            qFatal("cannot listen on the loopback");
        port = m_serveur.serverPort();
        if (genre == QLatin1String("refused")) {
            m_serveur.close();
            return;
        }
        m_serveur.pauseAccepting();
        m_occupant.connectToHost(QHostAddress::LocalHost, port);
        if (!m_occupant.waitForConnected(5000))
            qFatal("cannot fill the listener's queue");
    }
    QString hote = QStringLiteral("127.0.0.1");
    quint16 port = 80;

private:
    QTcpServer m_serveur;
    QTcpSocket m_occupant;
};

class ZoneJournal : public ZoneTexte {
public:
    using ZoneTexte::ZoneTexte;
    void setLabRetour(int index, const QString &texte) override
    {
        historique << texte;
        ZoneTexte::setLabRetour(index, texte);
    }
    QStringList historique;
};

class BancEchange : public QObject {
protected:
    void prepare()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        FichierINI::setRepertoireProgramme(m_dir->path());
        m_zone = std::make_unique<ZoneJournal>(1);
        m_zone->preparePourRequete();
        m_module = std::make_unique<ModPharmaML>(*m_zone);
    }
    void libere()
    {
        m_module.reset();
        m_zone.reset();
        m_dir.reset();
    }
    QString chemin(const QString &nom) const { return m_dir->filePath(nom); }
    void ecritIni(const QByteArray &texte)
    {
        QFile f(chemin(QStringLiteral("Solvarin.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(texte);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ZoneJournal> m_zone;
    std::unique_ptr<ModPharmaML> m_module;
};
