#pragma once

#include "base64.h"
#include "clsmd5.h"
#include "horloge.h"
#include "http.h"
#include "runtimeerror.h"
#include "xmldocument.h"
#include "zoneresultat.h"

#include <QByteArray>
#include <QString>

#include <QObject>

#include <chrono>

class QEventLoop;
class SocketHttp;

// The Pharma-ML exchange with a wholesaler: builds the signed REQ_INFO_PRODUIT request, decodes the
// reply and writes every outcome into the result area. One instance lives for the whole run and
// keeps what the last request left. Nothing is returned to the caller as an error and nothing is
// thrown out: unexpected failures are shown as "procedure : description (number)".
class ModPharmaML {
public:
    explicit ModPharmaML(ZoneResultat &zone, Horloge horloge = horlogeSysteme());

    // ---- Request construction. Settings are read from "Solvarin.ini", section "Infos", when used.

    // Builds RefMessage, NumeroCliRequete, RequeteXML and EmpreinteRequete for the product list
    // `lignes` (items "code,quantity" separated by ";", at most 50 examined) and account n.
    // Returns the validation message of the request: empty when it parses (or after a failure).
    QString PML_ConstruitRequeteInfoProduit(const QString &lignes, qint16 n);
    // The envelope's opening and header, then the pharmacy message's opening and header.
    QString PML_ConstruitEntete(const QString &refMessage, const QString &natureAction, qint16 n);
    // The message body: CORPS holding REQ_INFO_PRODUIT and one LIGNE per accepted item.
    QString PML_ConstruitCorpsInfoProduit(const QString &lignes, const QString &refMessage);
    // The pharmacy name for the sender's address: read once per run, folded to ASCII letters,
    // digits and blanks, at most 128 characters.
    QString PML_AdressePharmacie();

    // The message reference: local date and time of the last construction, "yyyyMMddHHmmss".
    const QString &RefMessage() const { return m_refMessage; }
    const QString &NumeroCliRequete() const { return m_numeroCliRequete; }
    // The last request, one line of XML; it travels as its UTF-8 bytes.
    const QString &RequeteXML() const { return m_requeteXML; }
    // Base64 of MD5 over the UTF-8 bytes of RequeteXML + client number padded to 16 with "0" + the
    // first 4 characters of the secret key: 24 characters.
    const QString &EmpreinteRequete() const { return m_empreinteRequete; }
    // The credential of a request text for that client number and secret key (as read from the
    // settings file): what EmpreinteRequete holds for RequeteXML.
    QString calculeEmpreinte(const QString &requete, QString numeroCli, const QString &clefCli) const;

    // ---- Reply processing.

    // Decodes a reply given as the bytes received (their declared encoding is honoured) and shows
    // its outcome: product line, end of service, wholesaler error, or "Retour non conforme".
    void PML_TraiteRetour(const QByteArray &retour);
    // Decodes every LIGNE of the message body's XML text; the last line stays on screen.
    void PML_RetourInfosProduit(const QString &corps);
    // Shows one product line (designation, up to three prices, availability); returns the
    // availability text shown. An absent line shows nothing and gives "".
    QString PML_DecodeUneLigneProduit(Xml::Noeud ligne);
    // The French label of a price nature followed by the amount without its leading zeros; "" for an
    // unknown nature. The caller's amount loses its leading zeros too.
    static QString PML_LibellePrix(const QString &nature, QString &montant);
    // Drops the leading "0" characters, from the caller's text too.
    static QString PML_SupprimeZeros(QString &texte);
    // Text of the first element of that name in the document; "" when there is none.
    static QString PML_TexteElement(const Xml::Document &document, const QString &balise);
    // Attribute of the first element of that name; "" when the element or the attribute is missing.
    static QString PML_TexteAttribut(const Xml::Document &document, const QString &balise,
                                     const QString &attribut);

    // ---- XML check and text filter.

    // "" when the text parses, otherwise the four lines "Erreur de validation ", "Raison: ...",
    // "Source: ...", "Ligne: ..." separated by CR LF.
    QString PML_ControleStringXML(const QString &texte);
    // Folds the accented letters of the table to plain ones, then turns every character that is not
    // an ASCII letter or digit into a blank; the length is kept.
    QString PML_FiltreTexte(const QString &texte);

    // ---- HTTP transport.

    // The socket the exchange drives (the window's); the exchange does not own it.
    void setSocket(SocketHttp *socket);
    // Longest wait for a complete reply, 60 s unless changed.
    void setDelaiAttente(std::chrono::milliseconds delai) { m_delaiAttente = delai; }

    // One whole exchange for the product list and account n: builds and sends the request, waits
    // for the reply while events run, processes it. Every outcome goes to the result area. A call
    // made while an exchange is waiting does nothing.
    void PML_EnvoieUneRequete(const QString &lignes, qint16 n);
    // Splits the URL into HoteRepart, IdentRepart and CheminRepart; HoteRepart stays empty for a
    // URL that cannot be used.
    void PML_DecoupeUrl(const QString &url);
    // On connection: writes the trace file, then sends the request in one piece.
    void PML_EnvoieRequeteHttp();
    // On data arrival: gathers the reply; checks its status, finds its end tag.
    void PML_Http_DataArrival(qint32 octets);
    static qint16 PML_StatutHttp(QByteArrayView texte);
    // The text without chunked transfer coding. A text without any line break is taken as plain:
    // everything before its "<?xml" is dropped (from the caller's text too).
    QByteArray PML_DecodeChunkedMessage(QByteArray &texte);
    // Overwrites "Trace.xml" in the program's directory with the text's UTF-8 bytes and CR LF.
    void PML_CreerFichier(const QString &texte);

    const QString &HoteRepart() const { return m_hoteRepart; }
    const QString &IdentRepart() const { return m_identRepart; }
    const QString &CheminRepart() const { return m_cheminRepart; }
    // The reply without its headers and transfer coding, up to the envelope's end tag.
    const QByteArray &RetourXML() const { return m_retourXML; }
    // Everything received so far of a reply still incomplete.
    const QByteArray &RetourPartiel() const { return m_retour.recu(); }
    bool AttenteRetour() const { return m_attenteRetour; }
    bool RetourChunked() const { return m_retour.chunked(); }

    // ---- Result display, on the places of account NumRepartCourant.

    // Result label red with the text, then availability box with "REQUETE EN ERREUR".
    void PML_AfficheErreur(const QString &texte);
    // Result label black with the text.
    void PML_AfficheInfo(const QString &texte);
    // General label black with the designation; "description" in any letter case becomes "" (the
    // caller's text too).
    void PML_AfficheDesignation(QString &texte);
    // Availability box: CR LF + the text, green when the text is exactly "DISPONIBLE", red otherwise;
    // then pending events run.
    void PML_AfficheDispo(const QString &texte);

private:
    // How a trapped failure is written: "name : description (number)" or "name : description" CR number.
    enum class Forme { Parentheses, RetourChariot };
    void signaleEchec(const QString &procedure, const RuntimeError &erreur, Forme forme);
    // Runs `corps`, trapping any failure; false when one was trapped (and shown).
    template <typename Corps> bool piege(const QString &procedure, Forme forme, Corps &&corps);

    QString lisInfos(const QString &cle, qint16 n, const QString &defaut) const;
    QString dateHeure() const;
    void parcoursEnveloppe(const Xml::Document &document);

    ZoneResultat &m_zone;
    Horloge m_horloge;
    ClsMD5 m_md5;
    Base64 m_base64;

    QString m_refMessage;
    QString m_numeroCliRequete;
    QString m_requeteXML;
    QString m_empreinteRequete;
    QString m_adressePharmacie; // read once per run

    // HTTP transport.
    qint32 litPort(qint16 n) const;
    void attendsRetour();
    void finAttente();
    void ferme();

    SocketHttp *m_socket = nullptr;
    std::chrono::milliseconds m_delaiAttente{60000};
    QString m_hoteRepart;
    QString m_identRepart;
    QString m_cheminRepart;
    QByteArray m_retourXML;
    Http::AssembleurRetour m_retour; // RetourPartiel, RetourChunked
    bool m_attenteRetour = false;
    bool m_enCours = false;
    QEventLoop *m_boucle = nullptr;
    // Goes with us: ends a wait that is running when we are deleted, and lets the socket's handlers
    // and that wait see that we are gone.
    QObject m_gardien;
};
