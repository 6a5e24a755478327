#pragma once

#include "echangeinfoproduit.h"
#include "horloge.h"
#include "lignereponse.h"
#include "xmldocument.h"
#include "zoneresultat.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

// The one-product query with a wholesaler: runs an EchangeInfoProduit, waits for it while events
// run, and writes every outcome into the result area. One instance lives for the whole run and
// keeps what the last request left. Nothing is returned to the caller as an error and nothing is
// thrown out: unexpected failures are shown as "procedure : description (number)".
class ModPharmaML {
public:
    explicit ModPharmaML(ZoneResultat &zone, Horloge horloge = horlogeSysteme());
    ~ModPharmaML();

    // The exchange the query runs, with its request builder and what it received.
    EchangeInfoProduit &echange() { return *m_echange; }

    // ---- Request construction (see ConstructeurRequete); failures are shown.

    QString PML_ConstruitRequeteInfoProduit(const QString &lignes, qint16 n);
    QString PML_AdressePharmacie();
    const QString &RefMessage() const { return m_echange->requete().refMessage(); }
    const QString &NumeroCliRequete() const { return m_echange->requete().numeroCliRequete(); }
    const QString &RequeteXML() const { return m_echange->requete().requeteXML(); }
    const QString &EmpreinteRequete() const { return m_echange->requete().empreinteRequete(); }
    QString calculeEmpreinte(const QString &requete, const QString &numeroCli, const QString &clefCli) const;
    QString PML_ControleStringXML(const QString &texte);
    QString PML_FiltreTexte(const QString &texte);

    // ---- Reply processing: decodes (DecodeurRetour) and shows.

    // A reply as the bytes received: product line, end of service, wholesaler error, or
    // "Retour non conforme".
    void PML_TraiteRetour(const QByteArray &retour);
    // Every LIGNE of the message body's XML text; the last line stays on screen.
    void PML_RetourInfosProduit(const QString &corps);
    // Shows one product line (designation, up to three prices, availability); returns the
    // availability text shown. An absent line shows nothing and gives "".
    QString PML_DecodeUneLigneProduit(Xml::Noeud ligne);
    // The French label of a price nature followed by the amount without its leading zeros; "" for an
    // unknown nature. The caller's amount loses its leading zeros too.
    static QString PML_LibellePrix(const QString &nature, QString &montant);
    // Drops the leading "0" characters, from the caller's text too.
    static QString PML_SupprimeZeros(QString &texte);

    // ---- HTTP transport.

    // Longest wait for a complete reply, 60 s unless changed.
    void setDelaiAttente(std::chrono::milliseconds delai) { m_echange->setDelaiAttente(delai); }
    // Longest wait for the connection, 10 s unless changed.
    void setDelaiConnexion(std::chrono::milliseconds delai) { m_echange->setDelaiConnexion(delai); }

    // One whole exchange for the product list and account n: builds and sends the request, waits
    // for the reply while events run, shows the outcome. A call made while one is waiting does
    // nothing; the wait ends at once when this module is deleted or the application quits.
    void PML_EnvoieUneRequete(const QString &lignes, qint16 n);
    // Splits the URL into HoteRepart and CheminRepart; HoteRepart stays empty for a URL that cannot
    // be used.
    void PML_DecoupeUrl(const QString &url) { m_echange->decoupeUrl(url); }
    // The text without chunked transfer coding. A text without any line break is taken as plain:
    // everything before its "<?xml" is dropped (from the caller's text too).
    QByteArray PML_DecodeChunkedMessage(QByteArray &texte);

    const QString &HoteRepart() const { return m_echange->url().hote; }
    const QString &CheminRepart() const { return m_echange->url().chemin; }
    // The reply without its headers and transfer coding, up to the envelope's end tag.
    const QByteArray &RetourXML() const { return m_echange->retourXML(); }
    // Everything received so far of a reply still incomplete.
    const QByteArray &RetourPartiel() const { return m_echange->assembleur().recu(); }
    bool AttenteRetour() const { return m_echange->enCours(); }
    bool RetourChunked() const { return m_echange->assembleur().chunked(); }

    // ---- Result display, on the places of account NumRepartCourant.

    // Result label red with the text, then availability box with "REQUETE EN ERREUR".
    void PML_AfficheErreur(const QString &texte);
    // How an exchange ended: the lines, then the outcome's message; the last line stays on screen. An
    // answer from the backup address ends the result label with the line "(adresse de secours)". With
    // the codes asked, only a line about one of them is its answer; when none is, a line about another
    // product says so instead.
    void afficheResultat(const ResultatEchange &resultat, const QStringList &demandes = {});
    // Result label black with the text.
    void PML_AfficheInfo(const QString &texte);
    // General label black with the designation; "description" in any letter case becomes "" (the
    // caller's text too).
    void PML_AfficheDesignation(QString &texte);
    // Availability box: CR LF + the text, green when the text is exactly "DISPONIBLE", red otherwise;
    // then pending events run.
    void PML_AfficheDispo(const QString &texte);

private:
    // Shows a trapped failure; the result area failing too leaves nothing to show it on.
    void signale(const QString &texte);
    // Shows the failures the request builder trapped meanwhile; gives back `resultat`.
    QString signaleEchecsRequete(const QString &resultat);
    // Runs `corps`, showing a failure as "procedure : description (number)"; false after one.
    bool piege(const QString &procedure, const std::function<void()> &corps);
    // `finLibelle`: a last line for the result label.
    QString afficheLigne(const LigneReponse &ligne, const QString &finLibelle = {});
    void afficheAutreProduit(const LigneReponse &ligne, const QString &finLibelle);

    ZoneResultat &m_zone;
    std::unique_ptr<EchangeInfoProduit> m_echange;
    bool m_enCours = false;
    // Goes with us: ends a wait that is running when we are deleted, and lets that wait and the
    // displays see that we are gone.
    QObject m_gardien;
};
