// What the exchange tests share: a fresh program folder, the account the query is for, a result area kept as
// text, and the module that writes into it.
#pragma once

#include "compteessai.h"
#include "fichierini.h"
#include "modpharmaml.h"
#include "zonetexte.h"

#include <QFile>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

inline QStringList erreur(const QString &message, int compte = 1)
{
    return {QStringLiteral("LabRetour(%1)\t#FF0000\t").arg(compte) + message,
            QStringLiteral("txtInfos(%1)\t#FF0000\t\\r\\nREQUETE EN ERREUR").arg(compte)};
}

// What the simulated wholesaler's answer for 3582910 leaves in the result area of account 1.
inline const QStringList doliprane = {
    QStringLiteral("LabRetour(0)\t#000000\tDOLIPRANE 1000MG CPR B/8"),
    QStringLiteral("LabRetour(1)\t#000000\tPrix d'achat HT hors remise = 1.570\\r\\nPrix achat HT = "
                   "1.490\\r\\nPrix public TTC = 2.180"),
    QStringLiteral("txtInfos(1)\t#00FF00\t\\r\\nDISPONIBLE"),
};

inline const QString delaiDepasse = QStringLiteral("Aucun retour reçu dans les délais !");
inline const QString injoignable = QStringLiteral("Le répartiteur ne répond pas à l'adresse indiquée !");
inline const QString httpIncorrect = QStringLiteral("Retour HTTP incorrect ! (vérifier la clef secrète)");
inline const QString nonConforme = QStringLiteral("Retour non conforme");
inline const QString urlAVerifier = QStringLiteral("Merci de vérifier l'adresse URL du répartiteur !");

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
        if (genre == QLatin1String("unknown host") || genre == QLatin1String("unreachable")) {
            hote = genre == QLatin1String("unreachable") ? QStringLiteral("255.255.255.255")
                                                         : QString(64, u'r') + QStringLiteral(".invalid");
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

class BancEchange : public QObject {
protected:
    void prepare(Horloge horloge = horlogeSysteme())
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        FichierINI::setRepertoireProgramme(m_dir->path());
        m_compte = {}; // account 1 without any setting, as without a settings file
        m_compte.numero = 1;
        m_zone = std::make_unique<ZoneTexte>(1);
        m_zone->preparePourRequete();
        m_module = std::make_unique<ModPharmaML>(*m_zone, std::move(horloge));
    }
    void libere()
    {
        m_module.reset();
        m_zone.reset();
        m_dir.reset();
    }
    QString chemin(const QString &nom) const { return m_dir->filePath(nom); }
    // A complete account n at that URL and port, for the next query.
    void compte(int n, const QString &url, quint16 port, const QString &clef = QStringLiteral("4083XYZ"))
    {
        m_compte = CompteEssai{.url = url, .port = port, .clef = clef}.compte(n);
    }
    // Sets the account's setting of that key ("NumeroCli1", "Proxy"...); a null value removes it.
    void regle(const QString &cle, const QString &valeur)
    {
        for (const CompteRepartiteur::Reglage &r : CompteRepartiteur::reglages()) {
            if (m_compte.cle(r) == cle)
                m_compte.*r.valeur = valeur.isNull() ? std::nullopt : std::optional(valeur);
        }
    }
    void lance(const QString &cip = QStringLiteral("3582910"))
    {
        m_module->PML_EnvoieUneRequete(cip + ",1", m_compte);
    }
    QString construit(const QString &lignes)
    {
        return m_module->PML_ConstruitRequeteInfoProduit(lignes, m_compte);
    }
    ConstructeurRequete &requete() { return m_module->echange().requete(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    CompteRepartiteur m_compte;
    std::unique_ptr<ZoneTexte> m_zone;
    std::unique_ptr<ModPharmaML> m_module;
};
