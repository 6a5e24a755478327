#include "echangeinfoproduit.h"

#include "compterepartiteur.h"
#include "decodeurretour.h"
#include "fichierini.h"
#include "piege.h"
#include "referencesmessage.h"
#include "remplacefichier.h"
#include "textesechec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>

namespace {

const QString injoignable = QStringLiteral("Le répartiteur ne répond pas à l'adresse indiquée !");
const QString interrompue = QStringLiteral("Connexion interrompue par le répartiteur !");
const QString proxyInjoignable = QStringLiteral("Le proxy ne répond pas à l'adresse indiquée !");
const QString parametreInvalide = QStringLiteral("Paramètre invalide : ");

// The URL of an address (setting "URLRepart" or "URLSecours", "000000" when absent).
QString litUrl(const std::optional<QString> &reglage)
{
    return reglage.value_or(QStringLiteral("000000"));
}

// The port of an address: the one its URL writes, else its setting "PortRepart" or "PortSecours",
// else 80 (443 for https); RuntimeError for a value that is no number or no TCP port.
quint16 litPort(const Http::UrlRepartiteur &url, const std::optional<QString> &reglage)
{
    if (url.port)
        return *url.port;
    const QString texte = reglage.value_or(QString::number(url.portParDefaut())).trimmed();
    bool nombre = false;
    const qlonglong port = texte.toLongLong(&nombre);
    if (!nombre) {
        bool chiffres = !texte.isEmpty();
        for (qsizetype i = texte.startsWith(u'-') || texte.startsWith(u'+') ? 1 : 0; i < texte.size(); ++i)
            chiffres = chiffres && texte[i].isDigit();
        // A number too long for 64 bits still is a number, only too large.
        throw chiffres ? RuntimeError::overflow() : RuntimeError::typeMismatch();
    }
    if (port < INT32_MIN || port > INT32_MAX)
        throw RuntimeError::overflow();
    if (port < 0 || port > 65535)
        throw RuntimeError::invalidPropertyValue();
    return quint16(port);
}

// Replaces "Trace.xml" in the program's directory, in one step, with the request's UTF-8 bytes and
// CR LF: exchanges that end together never leave a mix of two traces.
void PML_CreerFichier(const QString &requete)
{
    const QString chemin = QDir(FichierINI::repertoireProgramme()).filePath(QStringLiteral("Trace.xml"));
    const QFileDevice::FileError erreur = remplaceFichier(chemin, requete.toUtf8() + "\r\n");
    if (erreur != QFileDevice::NoError)
        throw erreur == QFileDevice::PermissionsError ? RuntimeError::permissionDenied()
                                                      : RuntimeError::pathFileAccess();
}

// The TLS settings for an https address: the system's authorities, plus those of the PEM file that
// setting "CertificatsAC" names (absolute, or relative to the settings folder). Nothing when that file
// holds no certificate.
std::optional<QSslConfiguration> configurationTls(const std::optional<QString> &certificatsAC)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    const QString fichier = certificatsAC.value_or(QString()).trimmed();
    if (!fichier.isEmpty()) {
        const QList<QSslCertificate> autorites =
            QSslCertificate::fromPath(QDir(FichierINI::repertoireProgramme()).filePath(fichier), QSsl::Pem,
                                      QSslCertificate::PatternSyntax::FixedString);
        if (autorites.isEmpty())
            return std::nullopt;
        configuration.addCaCertificates(autorites);
    }
    return configuration;
}

// The reply read as the one-product query shows it; a complete body that holds no envelope at all
// (a web server's own page) is no reply.
ResultatEchange litRetour(const QByteArray &retour)
{
    const ResultatEchange resultat = DecodeurRetour::decode(retour);
    if (resultat.issue != ResultatEchange::Issue::Echec || !resultat.message.isEmpty())
        return resultat;
    const Xml::Document document = Xml::Document::depuisOctets(retour);
    for (const Xml::Noeud &noeud : document.noeudsDeTete()) {
        if (noeud.estElement() && noeud.nom() == QLatin1String("CSRP_ENVELOPPE"))
            return resultat;
    }
    return ResultatEchange::echec(QStringLiteral("Retour non conforme"));
}

} // namespace

struct EchangeInfoProduit::Etat {
    Etat(EchangeInfoProduit *q, Horloge horloge)
        : q(q), requete(std::move(horloge)), socket(new QSslSocket(q))
    {
        // The proxy is chosen here, as curl chooses it, and spoken to by hand.
        socket->setProxy(QNetworkProxy::NoProxy);
        for (QTimer *t : {&limite, &limiteConnexion}) {
            t->setSingleShot(true);
            t->setTimerType(Qt::PreciseTimer);
        }
    }

    // Later, from the event loop, unless the exchange is cancelled or started again meanwhile: so
    // that whoever receives it may end the exchange, or the window, without pulling the ground from
    // under a socket handler.
    template <typename Action> void plusTard(Action action)
    {
        QMetaObject::invokeMethod(
            q,
            [this, action, n = numero] {
                if (n == numero)
                    action();
            },
            Qt::QueuedConnection);
    }
    void signale(const QString &message)
    {
        plusTard([this, message] { emit q->incident(message); });
    }
    // Stops both limits and drops the connection, whatever its state.
    void coupe()
    {
        limite.stop();
        limiteConnexion.stop();
        socket->abort();
    }
    void finit(ResultatEchange r)
    {
        attente = false;
        coupe();
        resultat = std::move(r);
        resultat.secours = secours && joint;
        plusTard([this] {
            enCours = false;
            emit q->termine();
        });
    }
    void echoue(const QString &message) { finit(ResultatEchange::echec(message)); }

    // Sets the URL's parts for the next sending; none for a URL that cannot be used.
    void PML_DecoupeUrl(const QString &adresse);
    // Chooses the proxy and the TLS settings of the URL in use; false (and the exchange over) when a
    // setting cannot be used.
    bool prepareAcces();
    // Asks for the connection to the URL's host on that port, or to its proxy; both limits count from now.
    void connecteA(quint16 port);
    void connecte();
    // Sends the request; the trace is written first.
    void PML_EnvoieRequeteHttp();
    void PML_Http_DataArrival();
    void reponseTunnel();
    void traite(Http::AssembleurRetour::Etat etat);
    void refusProxy(const QByteArray &ligneStatut);
    void delaiEcoule();
    void erreurSocket();
    // The address in use could not be reached at all: nothing was sent, so the backup may have it.
    void nonJoint();
    void essaieSecours();

    EchangeInfoProduit *q;
    ConstructeurRequete requete;
    QSslSocket *socket; // a child of the exchange
    QTimer limite;
    QTimer limiteConnexion;
    QElapsedTimer chrono;
    std::chrono::milliseconds delai{60000};
    std::chrono::milliseconds delaiConnexion{10000};
    Http::UrlRepartiteur url;
    quint16 port = 0;                 // the wholesaler's port at the address in use
    std::optional<Http::Proxy> proxy; // the proxy that carries the exchange, if any
    bool tunnel = false;              // waiting for the proxy's answer to CONNECT
    QByteArray recuTunnel;
    QString refusCertificat; // why the wholesaler's certificate was refused
    Http::AssembleurRetour retour;
    QByteArray retourXML;
    ResultatEchange resultat;
    bool enCours = false;     // from lance to termine, or to annule
    bool attente = false;     // from the connection request until the reply is complete
    bool joint = false;       // the socket reached the address in use
    bool secours = false;     // the address in use is the account's backup
    CompteRepartiteur compte; // as read when the exchange was launched
    quint64 numero = 0;       // the exchange that what is delivered later belongs to
};

EchangeInfoProduit::EchangeInfoProduit(QObject *parent, Horloge horloge)
    : QObject(parent), m_etat(std::make_unique<Etat>(this, std::move(horloge)))
{
    Etat &e = *m_etat;
    connect(e.socket, &QTcpSocket::connected, this, [&e] { e.connecte(); });
    connect(e.socket, &QSslSocket::encrypted, this, [&e] { e.PML_EnvoieRequeteHttp(); });
    connect(e.socket, &QSslSocket::sslErrors, this,
            [&e](const QList<QSslError> &erreurs) { e.refusCertificat = erreurs.value(0).errorString(); });
    connect(e.socket, &QTcpSocket::readyRead, this, [&e] { e.PML_Http_DataArrival(); });
    // Refusals, lookups that fail, resets and the peer's close all come this way (the close as
    // RemoteHostClosedError, before `disconnected`).
    connect(e.socket, &QTcpSocket::errorOccurred, this, [&e] { e.erreurSocket(); });
    connect(&e.limite, &QTimer::timeout, this, [&e] { e.delaiEcoule(); });
    connect(&e.limiteConnexion, &QTimer::timeout, this, [&e] {
        if (e.attente && !e.joint)
            e.nonJoint();
    });
}

EchangeInfoProduit::~EchangeInfoProduit()
{
    // Before the state its handlers use.
    delete m_etat->socket;
}

void EchangeInfoProduit::setDelaiAttente(std::chrono::milliseconds delai)
{
    m_etat->delai = delai;
}

void EchangeInfoProduit::setDelaiConnexion(std::chrono::milliseconds delai)
{
    m_etat->delaiConnexion = delai;
}

void EchangeInfoProduit::lance(const QString &lignes, const CompteRepartiteur &compte)
{
    Etat &e = *m_etat;
    if (e.enCours)
        return;
    ++e.numero;
    e.enCours = true;
    e.joint = false;
    e.secours = false;
    e.resultat = {};
    e.retourXML.clear();
    e.retour.vide();
    Echec::piege(
        QStringLiteral("PML_EnvoieUneRequete"), Echec::Forme::Parentheses,
        [&e](const QString &message) { e.echoue(message); },
        [&] {
            e.compte = compte;
            e.requete.construit(lignes, compte, &ReferencesMessage::programme());
            for (const QString &echec : e.requete.prendsEchecs())
                e.signale(echec);
            // A value XML cannot carry makes an ill-formed request: it never goes out.
            if (!e.requete.parametreInvalide().isEmpty()) {
                e.echoue(QStringLiteral("Paramètre invalide : ") + e.requete.parametreInvalide());
                return;
            }
            e.PML_DecoupeUrl(litUrl(compte.urlRepart));
            if (e.url.hote.isEmpty()) {
                e.echoue(QStringLiteral("Merci de vérifier l'adresse URL du répartiteur !"));
                return;
            }
            const quint16 port = litPort(e.url, compte.portRepart);
            if (e.prepareAcces())
                e.connecteA(port);
        });
}

void EchangeInfoProduit::annule()
{
    Etat &e = *m_etat;
    ++e.numero;
    e.enCours = false;
    e.attente = false;
    e.coupe();
}

bool EchangeInfoProduit::enCours() const
{
    return m_etat->enCours;
}

const ResultatEchange &EchangeInfoProduit::resultat() const
{
    return m_etat->resultat;
}

ConstructeurRequete &EchangeInfoProduit::requete()
{
    return m_etat->requete;
}

const Http::AssembleurRetour &EchangeInfoProduit::assembleur() const
{
    return m_etat->retour;
}

const QByteArray &EchangeInfoProduit::retourXML() const
{
    return m_etat->retourXML;
}

void EchangeInfoProduit::Etat::PML_DecoupeUrl(const QString &adresse)
{
    Echec::piege(
        QStringLiteral("PML_DecoupeUrl"), Echec::Forme::Parentheses,
        [this](const QString &message) { signale(message); },
        [&] { url = Http::decoupeUrl(adresse).value_or(Http::UrlRepartiteur()); });
}

bool EchangeInfoProduit::Etat::prepareAcces()
{
    const Http::ChoixProxy choix = Http::choisitProxy(url, compte.proxy.value_or(QString()));
    if (!choix.invalide.isEmpty()) {
        echoue(parametreInvalide + choix.invalide);
        return false;
    }
    proxy = choix.proxy;
    if (url.https) {
        const std::optional<QSslConfiguration> configuration = configurationTls(compte.certificatsAC);
        if (!configuration) {
            echoue(parametreInvalide + CompteRepartiteur::Cles::certificatsAC);
            return false;
        }
        socket->setSslConfiguration(*configuration);
    }
    return true;
}

void EchangeInfoProduit::Etat::connecteA(quint16 portCible)
{
    attente = true;
    joint = false;
    tunnel = false;
    recuTunnel.clear();
    refusCertificat.clear();
    port = portCible;
    socket->abort();
    // Before the request: a failure the socket finds at once still meets running limits.
    chrono.start();
    limite.start(delai);
    limiteConnexion.start(delaiConnexion);
    if (proxy)
        socket->connectToHost(proxy->hote, proxy->port);
    else if (url.https)
        socket->connectToHostEncrypted(url.hoteConnexion(), port, url.hoteConnexion());
    else
        socket->connectToHost(url.hoteConnexion(), port);
}

void EchangeInfoProduit::Etat::connecte()
{
    if (!attente)
        return;
    joint = true;
    limiteConnexion.stop();
    // Small requests and replies: no waiting to coalesce segments.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (proxy && url.https) {
        tunnel = true;
        socket->write(Http::tunnel(url, port, *proxy));
    } else if (!url.https) {
        PML_EnvoieRequeteHttp();
    }
    // Over TLS, the request waits for the certificate to be verified.
}

void EchangeInfoProduit::Etat::PML_EnvoieRequeteHttp()
{
    if (!attente)
        return;
    // The request goes whatever became of its trace.
    Echec::piege(
        QStringLiteral("PML_CreerFichier Error"), Echec::Forme::RetourChariot,
        [this](const QString &message) { signale(message); },
        [this] { PML_CreerFichier(requete.requeteXML()); });
    try {
        const bool formeAbsolue = proxy && !url.https;
        socket->write(Http::requete(url, requete.empreinteRequete(), requete.requeteXML().toUtf8(),
                                    formeAbsolue ? &*proxy : nullptr));
    } catch (const std::exception &) {
        // A request that cannot be written is never answered: the time limit reports it.
    }
}

void EchangeInfoProduit::Etat::PML_Http_DataArrival()
{
    Echec::piege(
        QStringLiteral("PML_Http_DataArrival"), Echec::Forme::Parentheses,
        [this](const QString &message) { signale(message); },
        [this] {
            if (tunnel) {
                reponseTunnel();
                return;
            }
            const QByteArray d = socket->readAll();
            if (!attente)
                return; // what a closed exchange still receives is not ours
            traite(retour.ajoute(d));
        });
}

void EchangeInfoProduit::Etat::traite(Http::AssembleurRetour::Etat etat)
{
    switch (etat) {
    case Http::AssembleurRetour::Etat::EnCours:
        break;
    case Http::AssembleurRetour::Etat::Complet:
        retourXML = retour.retour();
        finit(litRetour(retourXML));
        break;
    case Http::AssembleurRetour::Etat::ErreurHttp:
        // Through a proxy, a reply the proxy wrote itself is its refusal, not the wholesaler's.
        if (proxy && (retour.statut() == 407 || retour.erreurProxy()))
            refusProxy(retour.ligneStatut());
        else
            echoue(TextesEchec::statutHttp(retour.statut(), QString::fromLatin1(retour.ligneStatut())));
        break;
    case Http::AssembleurRetour::Etat::TropGrand:
    case Http::AssembleurRetour::Etat::Malforme:
        echoue(QStringLiteral("Retour non conforme"));
        break;
    }
}

void EchangeInfoProduit::Etat::reponseTunnel()
{
    recuTunnel += socket->readAll();
    if (!attente)
        return;
    const std::optional<Http::Entetes> entetes = Http::litEntetes(recuTunnel);
    if (!entetes) {
        if (recuTunnel.size() > Http::AssembleurRetour::tailleMax)
            echoue(QStringLiteral("Retour non conforme"));
        return;
    }
    if (entetes->statut >= 100 && entetes->statut < 200) {
        recuTunnel.remove(0, entetes->longueur);
        reponseTunnel();
        return;
    }
    if (entetes->statut < 200 || entetes->statut > 299) {
        refusProxy(entetes->ligneStatut);
        return;
    }
    tunnel = false;
    // The certificate names the wholesaler, not the proxy the socket is connected to.
    socket->setPeerVerifyName(url.hoteConnexion());
    socket->startClientEncryption();
}

void EchangeInfoProduit::Etat::refusProxy(const QByteArray &ligneStatut)
{
    echoue(QStringLiteral("Le proxy a refusé la requête : ") +
           TextesEchec::statutRecu(QString::fromLatin1(ligneStatut)));
}

void EchangeInfoProduit::Etat::delaiEcoule()
{
    if (!attente)
        return;
    // A timer may fire a little early; the limit is the clock's.
    const qint64 reste = delai.count() - chrono.elapsed();
    if (reste > 0)
        limite.start(std::chrono::milliseconds(reste));
    else
        echoue(QStringLiteral("Aucun retour reçu dans les délais !"));
}

void EchangeInfoProduit::Etat::erreurSocket()
{
    if (!attente)
        return;
    if (!joint) {
        if (proxy)
            echoue(proxyInjoignable);
        else
            nonJoint();
        return;
    }
    if (!refusCertificat.isEmpty()) {
        echoue(QStringLiteral("Certificat du répartiteur refusé : ") + refusCertificat);
        return;
    }
    // Closed or reset before the reply was complete. What arrived with the close is read first: it
    // may complete the reply, and so may the close itself, for a reply without length.
    PML_Http_DataArrival();
    if (attente && !tunnel && socket->error() == QAbstractSocket::RemoteHostClosedError)
        traite(retour.fin());
    if (attente)
        echoue(interrompue);
}

void EchangeInfoProduit::Etat::nonJoint()
{
    coupe();
    if (secours)
        echoue(injoignable);
    else
        // From the event loop: the socket is still inside the handler that reported the failure.
        plusTard([this] { essaieSecours(); });
}

void EchangeInfoProduit::Etat::essaieSecours()
{
    Echec::piege(
        QStringLiteral("PML_EnvoieUneRequete"), Echec::Forme::Parentheses,
        [this](const QString &message) { echoue(message); },
        [this] {
            const std::optional<Http::UrlRepartiteur> adresse = Http::decoupeUrl(litUrl(compte.urlSecours));
            if (!adresse || adresse->hote.isEmpty()) {
                echoue(injoignable);
                return;
            }
            const quint16 portSecours = litPort(*adresse, compte.portSecours);
            url = *adresse;
            secours = true;
            if (prepareAcces())
                connecteA(portSecours);
        });
}
