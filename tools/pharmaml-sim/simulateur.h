#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

class QTcpServer;

// What the simulated wholesaler does with the connections it accepts from now on.
struct OptionsSimulateur {
    enum class Reponse { Produits, Refus401, FinService, Erreur };

    Reponse reponse = Reponse::Produits;
    QString detailErreur = QStringLiteral("Client inconnu ou suspendu");
    int tailleChunk = 0;            // > 0: chunked transfer coding, chunks of this many bytes
    int morceau = 0;                // > 0: the reply is written this many bytes at a time
    bool coupeEntetesEtFin = false; // writes split in and after the blank line, and in the end tag
    int delaiMs = 0;                // pause before the reply and between two writes
    bool sansFin = false;           // the reply stops short of its end tag; the connection stays open
    bool deluge = false;            // a reply that streams without end, as fast as it can
    int lignesMax = 0;              // > 0: a request of more lines is refused with a Pharma-ML error
    int pourcentPrix = 100;         // prices at this percentage of the catalogue's
    // Path -> HTTP status a POST there gets instead of an answer (503 maintenance, 502 gateway...).
    QHash<QString, int> statutsParChemin;
    QSet<QString> manquants; // catalogue products answered not available (0005), as a stock runs out

    // Client number -> secret key. The credential uses the key's first four characters.
    QHash<QString, QString> comptes = comptesParDefaut();
    static QHash<QString, QString> comptesParDefaut();
};

// A Pharma-ML wholesaler on 127.0.0.1: answers REQ_INFO_PRODUIT posted to any path after checking the
// "Content-pharmaML" credential (HTTP 401 when it does not match), and serves the maker's pages
// /Infos.php?ADL=... and /solvarin.php. A connection serves request after request, as HTTP/1.1
// allows, until one asks "Connection: close".
class SimulateurPharmaML : public QObject {
    Q_OBJECT
public:
    explicit SimulateurPharmaML(QObject *parent = nullptr);

    OptionsSimulateur &options() { return m_options; }

    // HTTPS from now on, with that certificate (chain) and private key, both PEM files; false when
    // they cannot be read. Before `ecoute`.
    bool chiffre(const QString &certificat, const QString &cle);
    bool ecoute(quint16 port = 0);
    quint16 port() const;

    // Every byte received on the latest connection, as it came.
    QByteArray dernierRecu() const { return m_dernierRecu; }
    int connexions() const { return m_connexions; }

signals:
    // One line per request handled: method, path, client, status.
    void journal(const QString &ligne);
    // The body of each Pharma-ML request, as received.
    void requeteRecue(const QByteArray &corps);

private:
    friend class ConnexionSim;
    void accepte();

    QTcpServer *m_serveur;
    OptionsSimulateur m_options;
    QByteArray m_dernierRecu;
    int m_connexions = 0;
    int m_reponses = 0;
};
