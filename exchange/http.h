#pragma once

#include "proxy.h"
#include "url.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The pieces of the hand-written HTTP/1.1 exchange that need no socket: writing the request, reading
// the reply's header block, undoing chunked transfer coding and telling when a reply is complete.
namespace Http {

// The request as it goes on the wire, "Content-Length" counting the body's bytes, the body followed
// by CR LF. "Authorization: Basic" only with user information, encoded on one line. Through an HTTP
// proxy (`proxy` given) the request line names the whole address and "Proxy-Authorization" follows
// it when the proxy has a user; every other byte is the same.
QByteArray requete(const UrlRepartiteur &url, const QString &empreinte, const QByteArray &corps,
                   const Proxy *proxy = nullptr);
// The request that asks a proxy for a tunnel to host:port.
QByteArray tunnel(const UrlRepartiteur &url, quint16 port, const Proxy &proxy);

// The status code of a status line "HTTP/1.x NNN ...": exactly three digits after the first space,
// followed by a blank, a line end or the end of the text. A text with no space is read from its start
// the same way; anything else gives 0.
int PML_StatutHttp(QByteArrayView texte);

// What the header block of a reply says, once all of it has arrived.
struct Entetes {
    qsizetype longueur = 0; // bytes of the header block, blank line included
    int statut = 0;
    QByteArray ligneStatut; // the status line, as received
    bool chunked = false;   // "Transfer-Encoding" ends with "chunked", names and value in any case
    std::optional<qint64> longueurCorps; // "Content-Length", when chunked coding does not override it
    bool erreurProxy = false;            // "Proxy-Status" or "X-Squid-Error": a proxy wrote this reply itself
};
std::optional<Entetes> litEntetes(QByteArrayView recu);

// Undoes chunked transfer coding as the body arrives: sizes in either letter case, chunk extensions,
// trailers after the last chunk. Data of a chunk still arriving is delivered as it comes.
class DecodeurChunks {
public:
    // `corps` is the whole body received so far (it only ever grows); decoding resumes where it stopped.
    void avance(QByteArrayView corps);
    const QByteArray &donnees() const { return m_donnees; }
    // The last chunk and the trailers have been read.
    bool termine() const { return m_etape == Etape::Fin; }
    // The framing is not chunked transfer coding; nothing more is decoded.
    bool malforme() const { return m_etape == Etape::Malforme; }

private:
    enum class Etape { Taille, Donnees, FinDonnees, Trailers, Fin, Malforme };
    // The next line from m_position without its line end, or nothing while it is incomplete.
    std::optional<QByteArrayView> ligne(QByteArrayView corps);

    Etape m_etape = Etape::Taille;
    qsizetype m_position = 0;
    qint64 m_reste = 0;
    QByteArray m_donnees;
};

// The Pharma-ML envelope's end tag as this program and most wholesalers write it.
inline constexpr char baliseFin[] = "</CSRP_ENVELOPPE>";

// Where the envelope's end tag ends in a body, prefixed or not ("</CSRP_ENVELOPPE>",
// "</env:CSRP_ENVELOPPE >"), in UTF-8 or any ASCII-compatible encoding; -1 before it arrives.
qsizetype finEnveloppe(QByteArrayView texte, qsizetype depuis = 0);

// Gathers one reply from everything received, however it was cut into arrivals: the header block,
// its status and transfer coding, then the body until it is complete: at the envelope's end tag
// (de-chunked first), at the end of its Content-Length, at its last chunk, or when the server closes
// after a reply without length (`fin`). Interim replies (status 1xx, a header block alone) that come
// before it are skipped.
class AssembleurRetour {
public:
    // Malforme: the chunked framing broke before the end, so the reply can never complete.
    enum class Etat { EnCours, Complet, ErreurHttp, TropGrand, Malforme };
    // A reply that grows beyond this, interim header blocks included, is abandoned (a 50-line reply
    // is about 25 KB).
    static constexpr qsizetype tailleMax = 1024 * 1024;

    void vide();
    Etat ajoute(QByteArrayView donnees);
    // The server closed the connection: Complet for a reply that had no other end, else EnCours.
    Etat fin();

    // Everything received of a reply still incomplete; emptied when it ends, whichever way.
    const QByteArray &recu() const { return m_recu; }
    bool chunked() const { return m_chunked; }
    int statut() const { return m_statut; }
    const QByteArray &ligneStatut() const { return m_ligneStatut; }
    bool erreurProxy() const { return m_erreurProxy; }
    // After Complet: the body without its transfer coding, up to and including the end tag.
    const QByteArray &retour() const { return m_retour; }

private:
    Etat termine(Etat etat);
    Etat complet(QByteArrayView corps);
    // The body received so far, without its transfer coding.
    QByteArrayView corps();

    QByteArray m_recu;
    QByteArray m_retour;
    std::optional<Entetes> m_entetes;
    DecodeurChunks m_decodeur;
    bool m_chunked = false;
    int m_statut = 0;
    QByteArray m_ligneStatut;
    bool m_erreurProxy = false;
    qsizetype m_debut = 0;       // where the header block after the interim replies starts in m_recu
    qsizetype m_dejaCherche = 0; // the blank line, then the end tag, is not before this offset
};

} // namespace Http
