// The HTTP transport of the exchange: one request out, one reply back, over the window's socket.
#include "modpharmaml.h"

#include "fichierini.h"
#include "piege.h"
#include "remplacefichier.h"
#include "sockethttp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTimer>

namespace {

const QString infos = QStringLiteral("Infos");

} // namespace

void ModPharmaML::setSocket(SocketHttp *socket) {
    if (m_socket)
        m_socket->setRappels({}, {});
    m_socket = socket;
    if (!socket)
        return;
    // The socket may outlive us (it belongs to the window): its handlers check that we still exist.
    const QPointer<QObject> vivant = &m_gardien;
    socket->setRappels(
        [this, vivant] {
            if (vivant && m_attenteRetour)
                PML_EnvoieRequeteHttp();
        },
        [this, vivant](qint32 octets) {
            if (vivant)
                PML_Http_DataArrival(octets);
        });
}

void ModPharmaML::PML_EnvoieUneRequete(const QString &lignes, qint16 n) {
    if (m_enCours)
        return;
    m_enCours = true;
    const QPointer<QObject> vivant = &m_gardien;
    piege(QStringLiteral("PML_EnvoieUneRequete"), Forme::Parentheses, [&] {
        PML_ConstruitRequeteInfoProduit(lignes, n);
        PML_DecoupeUrl(
            FichierINI::LireIni(infos, QStringLiteral("URLRepart%1").arg(n), QStringLiteral("000000")));
        if (m_hoteRepart.isEmpty()) {
            PML_AfficheErreur(QStringLiteral("Merci de vérifier l'adresse URL du répartiteur !"));
            return;
        }
        m_attenteRetour = true;
        m_retourXML.clear();
        m_retour.vide();
        if (!m_socket)
            throw RuntimeError::objectNotSet();
        m_socket->setRemoteHost(m_hoteRepart);
        m_socket->setRemotePort(litPort(n));
        m_socket->Connect();
        attendsRetour();
        if (!vivant)
            return;
        if (m_attenteRetour) {
            m_attenteRetour = false;
            ferme();
            PML_AfficheErreur(QStringLiteral("Aucun retour reçu dans les délais !"));
        } else if (m_zone.LabRetour(m_zone.NumRepartCourant()).isEmpty() || !m_retourXML.isEmpty()) {
            PML_TraiteRetour(m_retourXML);
        }
    });
    if (!vivant)
        return;
    m_attenteRetour = false;
    ferme();
    m_enCours = false;
}

qint32 ModPharmaML::litPort(qint16 n) const {
    const QString texte =
        FichierINI::LireIni(infos, QStringLiteral("PortRepart%1").arg(n), QStringLiteral("80")).trimmed();
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
    return qint32(port);
}

void ModPharmaML::attendsRetour() {
    QElapsedTimer chrono;
    chrono.start();
    QEventLoop boucle;
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, &boucle, &QEventLoop::quit);
    QObject::connect(&m_gardien, &QObject::destroyed, &boucle, &QEventLoop::quit);
    const QPointer<QObject> vivant = &m_gardien;
    m_boucle = &boucle;
    while (m_attenteRetour) {
        const qint64 reste = m_delaiAttente.count() - chrono.elapsed();
        if (reste < 0)
            break;
        limite.start(std::chrono::milliseconds(reste + 1));
        // Once the application is quitting, no event loop runs any more: stop waiting at once.
        const bool arretDemande = boucle.exec() < 0;
        if (!vivant)
            return;
        if (arretDemande)
            break;
    }
    m_boucle = nullptr;
}

void ModPharmaML::finAttente() {
    m_attenteRetour = false;
    ferme();
    if (m_boucle)
        m_boucle->quit();
}

void ModPharmaML::ferme() {
    try {
        if (m_socket)
            m_socket->Close();
    } catch (...) {
        // Closing is the last step of every path; nothing is left to report it to.
    }
}

void ModPharmaML::PML_DecoupeUrl(const QString &url) {
    piege(QStringLiteral("PML_DecoupeUrl"), Forme::Parentheses, [&] {
        m_hoteRepart.clear();
        m_cheminRepart.clear();
        const auto parties = Http::decoupeUrl(url);
        if (!parties)
            return;
        m_hoteRepart = parties->hote;
        m_identRepart = parties->ident;
        m_cheminRepart = parties->chemin;
    });
}

void ModPharmaML::PML_EnvoieRequeteHttp() {
    // Each step runs whatever happened to the one before.
    try {
        PML_CreerFichier(m_requeteXML);
    } catch (...) {
    }
    try {
        if (m_socket)
            m_socket->SendData(Http::requete({m_hoteRepart, m_identRepart, m_cheminRepart},
                                             m_empreinteRequete, m_requeteXML.toUtf8()));
    } catch (...) {
    }
}

void ModPharmaML::PML_Http_DataArrival(qint32) {
    piege(QStringLiteral("PML_Http_DataArrival"), Forme::Parentheses, [&] {
        if (!m_socket)
            return;
        const QByteArray d = m_socket->GetData();
        if (!m_attenteRetour)
            return; // what a closed exchange still receives is not ours
        switch (m_retour.ajoute(d)) {
        case Http::AssembleurRetour::Etat::EnCours:
            break;
        case Http::AssembleurRetour::Etat::Complet:
            m_retourXML = m_retour.retour();
            finAttente();
            break;
        // The exchange is over before the message shows: events run during the display.
        case Http::AssembleurRetour::Etat::ErreurHttp:
            finAttente();
            PML_AfficheErreur(QStringLiteral("Retour HTTP incorrect ! (vérifier la clef secrète)"));
            break;
        case Http::AssembleurRetour::Etat::TropGrand:
        case Http::AssembleurRetour::Etat::Malforme:
            finAttente();
            PML_AfficheErreur(QStringLiteral("Retour non conforme"));
            break;
        }
    });
}

qint16 ModPharmaML::PML_StatutHttp(QByteArrayView texte) {
    return qint16(Http::statut(texte));
}

QByteArray ModPharmaML::PML_DecodeChunkedMessage(QByteArray &texte) {
    QByteArray resultat;
    piege(QStringLiteral("PML_DecodeChunkedMessage"), Forme::Parentheses, [&] {
        if (!texte.contains("\r\n")) {
            const qsizetype xml = texte.indexOf("<?xml");
            if (xml > 0)
                texte.remove(0, xml);
            resultat = texte;
            return;
        }
        Http::DecodeurChunks decodeur;
        decodeur.avance(texte);
        resultat = decodeur.donnees();
    });
    return resultat;
}

void ModPharmaML::PML_CreerFichier(const QString &texte) {
    // Replaced in one step: queries that end together never leave a mix of two traces.
    piege(QStringLiteral("PML_CreerFichier Error"), Forme::RetourChariot, [&] {
        const QString chemin = QDir(FichierINI::repertoireProgramme()).filePath(QStringLiteral("Trace.xml"));
        const QFileDevice::FileError erreur = remplaceFichier(chemin, texte.toUtf8() + "\r\n");
        if (erreur != QFileDevice::NoError)
            throw erreur == QFileDevice::PermissionsError ? RuntimeError::permissionDenied()
                                                          : RuntimeError::pathFileAccess();
    });
}
