#include "simulateur.h"

#include "messages.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QPointer>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

namespace {

constexpr qsizetype blocDeluge = 64 * 1024;
constexpr qint64 limiteDeluge = 64LL * 1024 * 1024; // a runaway client cannot keep us streaming forever

QByteArray raison(int statut)
{
    switch (statut) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    // What web servers and gateways in front of a wholesaler answer.
    case 301:
        return "Moved Permanently";
    case 403:
        return "Forbidden";
    case 413:
        return "Request Entity Too Large";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Temporarily Unavailable";
    default:
        return "Error";
    }
}

QByteArray entetes(int statut, const QByteArray &type, const QByteArray &longueurOuCodage)
{
    const QString date = QLocale::c().toString(QDateTime::currentDateTimeUtc(),
                                               QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
    return "HTTP/1.1 " + QByteArray::number(statut) + ' ' + raison(statut) + "\r\nDate: " + date.toLatin1() +
           "\r\nServer: pharmaml-sim\r\nContent-Type: " + type + "\r\n" + longueurOuCodage + "\r\n\r\n";
}

// Chunks with their sizes alternately in small and capital hexadecimal, each with an extension,
// and a trailer after the last chunk: everything a server may legitimately write.
QByteArray enChunks(const QByteArray &corps, int taille)
{
    QByteArray sortie;
    int numero = 0;
    for (qsizetype i = 0; i < corps.size(); i += taille, ++numero) {
        const QByteArray morceau = corps.mid(i, taille);
        QByteArray hex = QByteArray::number(morceau.size(), 16);
        if (numero % 2)
            hex = hex.toUpper();
        sortie += hex + ";piece=" + QByteArray::number(numero) + "\r\n" + morceau + "\r\n";
    }
    return sortie + "0;fin=1\r\nX-Controle: ok\r\n\r\n";
}

QByteArray reponse(int statut, const QByteArray &type, const QByteArray &corps, int tailleChunk)
{
    if (tailleChunk > 0)
        return entetes(statut, type, "Transfer-Encoding: chunked") + enChunks(corps, tailleChunk);
    return entetes(statut, type, "Content-Length: " + QByteArray::number(corps.size())) + corps;
}

QByteArray page(const QString &titre, const QString &texte)
{
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                          "<body><h1>%1</h1><p>%2</p></body></html>\n")
        .arg(titre.toHtmlEscaped(), texte.toHtmlEscaped())
        .toUtf8();
}

// Cut points: every `morceau` bytes; inside the header block's blank line, just after it, and inside
// the end tag.
QList<QByteArray> decoupe(const QByteArray &fil, const OptionsSimulateur &o)
{
    QList<qsizetype> coupures;
    if (o.morceau > 0) {
        for (qsizetype i = o.morceau; i < fil.size(); i += o.morceau)
            coupures.append(i);
    }
    if (o.coupeEntetesEtFin) {
        const qsizetype blanc = fil.indexOf("\r\n\r\n");
        if (blanc >= 0)
            coupures << blanc + 2 << blanc + 4;
        const qsizetype fin = fil.lastIndexOf("</CSRP_ENVELOPPE>");
        if (fin > blanc + 4)
            coupures.append(fin + 8);
    }
    std::sort(coupures.begin(), coupures.end());
    coupures.erase(std::unique(coupures.begin(), coupures.end()), coupures.end());
    QList<QByteArray> pieces;
    qsizetype debut = 0;
    for (qsizetype c : coupures) {
        pieces.append(fil.mid(debut, c - debut));
        debut = c;
    }
    pieces.append(fil.mid(debut));
    return pieces;
}

} // namespace

// One accepted connection: answers its requests one after the other, each on the configured schedule,
// and closes after the one that asks for it.
class ConnexionSim : public QObject {
public:
    ConnexionSim(SimulateurPharmaML *sim, QTcpSocket *socket)
        : QObject(socket), m_sim(sim), m_socket(socket), m_options(sim->m_options)
    {
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(m_socket, &QTcpSocket::readyRead, this, &ConnexionSim::lit);
        connect(m_socket, &QTcpSocket::disconnected, m_socket, &QObject::deleteLater);
    }

private:
    void lit()
    {
        const QByteArray recu = m_socket->readAll();
        m_recu += recu;
        if (m_sim)
            m_sim->m_dernierRecu += recu;
        if (!m_repondu)
            traite();
    }

    void traite()
    {
        // The line end that a client writes after a body, uncounted, comes before the next request.
        while (m_recu.startsWith("\r\n"))
            m_recu.remove(0, 2);
        const qsizetype blanc = m_recu.indexOf("\r\n\r\n");
        if (blanc < 0)
            return;
        m_consomme = blanc + 4;
        const QList<QByteArray> lignes = m_recu.left(blanc).split('\n');
        const QList<QByteArray> demande = lignes.value(0).trimmed().split(' ');
        const QByteArray methode = demande.value(0);
        const QByteArray cible = demande.value(1);
        QHash<QByteArray, QByteArray> champs;
        for (qsizetype i = 1; i < lignes.size(); ++i) {
            const QByteArray ligne = lignes[i].trimmed();
            const qsizetype deuxPoints = ligne.indexOf(':');
            if (deuxPoints > 0)
                champs.insert(ligne.left(deuxPoints).trimmed().toLower(),
                              ligne.mid(deuxPoints + 1).trimmed());
        }
        m_fermer = champs.value("connection").toLower() == "close";
        const QUrl url(QString::fromLatin1(cible));
        if (methode == "GET") {
            m_repondu = true;
            repondPage(url);
            return;
        }
        if (methode != "POST" || !champs.contains("content-length")) {
            m_repondu = true;
            m_fermer = true; // where this request ends is unknown, so nothing after it can be read
            termine(400, "-",
                    reponse(400, "text/html; charset=UTF-8",
                            page(QStringLiteral("Erreur"), QStringLiteral("Requête incorrecte")), 0));
            return;
        }
        const qsizetype longueur = champs.value("content-length").toLongLong();
        if (m_recu.size() - (blanc + 4) < longueur)
            return;
        m_repondu = true;
        m_consomme += longueur;
        repondPharmaML(url.path(), m_recu.mid(blanc + 4, longueur), champs.value("content-pharmaml"));
    }

    void repondPage(const QUrl &url)
    {
        const QString chemin = url.path();
        if (chemin == u"/Infos.php") {
            const QString adeli = QUrlQuery(url).queryItemValue(QStringLiteral("ADL"), QUrl::FullyDecoded);
            termine(
                200, "GET " + chemin,
                reponse(200, "text/html; charset=UTF-8",
                        page(QStringLiteral("Solvarin"),
                             QStringLiteral("Informations pour la pharmacie, numéro ADELI %1.").arg(adeli)),
                        m_options.tailleChunk));
        } else if (chemin == u"/solvarin.php") {
            termine(
                200, "GET " + chemin,
                reponse(200, "text/html; charset=UTF-8",
                        page(QStringLiteral("Aide de Solvarin"),
                             QStringLiteral("Tapez le code CIP du produit, puis choisissez le répartiteur.")),
                        m_options.tailleChunk));
        } else {
            termine(404, "GET " + chemin,
                    reponse(404, "text/html; charset=UTF-8",
                            page(QStringLiteral("Introuvable"), QStringLiteral("Page inconnue.")), 0));
        }
    }

    void repondPharmaML(const QString &chemin, const QByteArray &corps, const QByteArray &empreinte)
    {
        const MessagesSim::Requete requete = MessagesSim::lit(corps);
        if (m_sim)
            emit m_sim->requeteRecue(corps);
        const QString quoi = QStringLiteral("POST %1 client %2").arg(chemin, requete.idClient);
        if (const int statut = m_options.statutsParChemin.value(chemin); statut > 0) {
            termine(
                statut, quoi,
                reponse(statut, "text/html; charset=UTF-8",
                        page(QString::fromLatin1(raison(statut)), QStringLiteral("Service indisponible.")),
                        0));
            return;
        }
        const auto compte = m_options.comptes.constFind(requete.idClient);
        const bool autorise =
            compte != m_options.comptes.cend() &&
            MessagesSim::empreinte(corps, requete.idClient, *compte) == QLatin1String(empreinte);
        if (!autorise || m_options.reponse == OptionsSimulateur::Reponse::Refus401) {
            termine(401, quoi,
                    reponse(401, "text/html; charset=UTF-8",
                            page(QStringLiteral("Accès refusé"),
                                 QStringLiteral("Élément de contrôle incorrect.")),
                            m_options.tailleChunk));
            return;
        }
        const QString ref = QStringLiteral("SIM%1").arg(m_sim ? ++m_sim->m_reponses : 0);
        QByteArray xml;
        switch (m_options.reponse) {
        case OptionsSimulateur::Reponse::FinService:
            xml = MessagesSim::finService(requete, ref);
            break;
        case OptionsSimulateur::Reponse::Erreur:
            xml = MessagesSim::erreur(requete, ref, m_options.detailErreur);
            break;
        default:
            if (m_options.lignesMax > 0 && requete.lignes.size() > m_options.lignesMax)
                xml = MessagesSim::erreur(
                    requete, ref,
                    QStringLiteral("Trop de lignes : %1 au plus par demande").arg(m_options.lignesMax), 2);
            else
                xml = MessagesSim::repInfoProduit(requete, ref, m_options.pourcentPrix, m_options.manquants);
            break;
        }
        if (m_options.deluge) {
            termine(200, quoi,
                    entetes(200, "text/xml; charset=UTF-8", "Connection: keep-alive") + xml.left(200));
            m_finit = false;
            connect(m_socket, &QTcpSocket::bytesWritten, this, &ConnexionSim::inonde);
            return;
        }
        QByteArray fil = reponse(200, "text/xml; charset=UTF-8", xml, m_options.tailleChunk);
        if (m_options.sansFin)
            fil.truncate(fil.lastIndexOf("</CSRP_ENVELOPPE>"));
        termine(200, quoi, fil);
        m_finit = !m_options.sansFin;
    }

    void termine(int statut, const QString &quoi, const QByteArray &fil)
    {
        if (m_sim)
            emit m_sim->journal(QStringLiteral("%1 -> %2").arg(quoi).arg(statut));
        QByteArray octets = fil;
        if (m_fermer)
            octets.replace(octets.indexOf("\r\n"), 2, "\r\nConnection: close\r\n");
        m_pieces = decoupe(octets, m_options);
        m_finit = true;
        QTimer::singleShot(m_options.delaiMs, this, &ConnexionSim::ecritSuivante);
    }

    void ecritSuivante()
    {
        if (m_pieces.isEmpty() || m_socket->state() != QAbstractSocket::ConnectedState)
            return;
        m_socket->write(m_pieces.takeFirst());
        m_socket->flush();
        if (!m_pieces.isEmpty())
            QTimer::singleShot(m_options.delaiMs, this, &ConnexionSim::ecritSuivante);
        else if (m_finit)
            suivante();
    }

    // The reply is written whole: the connection closes if asked, else serves the next request.
    void suivante()
    {
        if (m_fermer) {
            m_socket->disconnectFromHost();
            return;
        }
        m_recu.remove(0, m_consomme);
        m_repondu = false;
        traite();
    }

    void inonde()
    {
        if (m_inonde >= limiteDeluge || m_socket->bytesToWrite() > 4 * blocDeluge)
            return;
        static const QByteArray bloc = QByteArray("<!-- ") + QByteArray(blocDeluge - 9, 'x') + " -->";
        m_inonde += m_socket->write(bloc);
    }

    QPointer<SimulateurPharmaML> m_sim;
    QTcpSocket *m_socket;
    OptionsSimulateur m_options;
    QByteArray m_recu;
    qsizetype m_consomme = 0; // bytes of m_recu that the request being answered takes
    bool m_repondu = false;
    bool m_fermer = false; // the request being answered asked for the connection to close
    bool m_finit = false;  // the reply being written ends, so another request may follow
    QList<QByteArray> m_pieces;
    qint64 m_inonde = 0;
};

QHash<QString, QString> OptionsSimulateur::comptesParDefaut()
{
    return {{QStringLiteral("0999908"), QStringLiteral("4083")},
            {QStringLiteral("123456"), QStringLiteral("CLEF9876")}};
}

SimulateurPharmaML::SimulateurPharmaML(QObject *parent) : QObject(parent), m_serveur(new QTcpServer(this))
{
    connect(m_serveur, &QTcpServer::pendingConnectionAvailable, this, &SimulateurPharmaML::accepte);
}

bool SimulateurPharmaML::chiffre(const QString &certificat, const QString &cle)
{
    const QList<QSslCertificate> chaine = QSslCertificate::fromPath(certificat, QSsl::Pem);
    QFile fichierCle(cle);
    if (chaine.isEmpty() || !fichierCle.open(QIODevice::ReadOnly))
        return false;
    const QByteArray pem = fichierCle.readAll();
    QSslKey clePrivee(pem, QSsl::Rsa, QSsl::Pem);
    if (clePrivee.isNull())
        clePrivee = QSslKey(pem, QSsl::Ec, QSsl::Pem);
    if (clePrivee.isNull())
        return false;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chaine);
    configuration.setPrivateKey(clePrivee);
    auto *serveur = new QSslServer(this);
    serveur->setSslConfiguration(configuration);
    // Connections appear once their handshake is over; a failed one never does.
    connect(serveur, &QTcpServer::pendingConnectionAvailable, this, &SimulateurPharmaML::accepte);
    delete m_serveur;
    m_serveur = serveur;
    return true;
}

bool SimulateurPharmaML::ecoute(quint16 port)
{
    return m_serveur->listen(QHostAddress::LocalHost, port);
}

quint16 SimulateurPharmaML::port() const
{
    return m_serveur->serverPort();
}

void SimulateurPharmaML::accepte()
{
    while (QTcpSocket *socket = m_serveur->nextPendingConnection()) {
        ++m_connexions;
        m_dernierRecu.clear();
        new ConnexionSim(this, socket);
    }
}
