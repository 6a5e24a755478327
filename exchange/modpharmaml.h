#pragma once

#include "echangeinfoproduit.h"
#include "horloge.h"
#include "lignereponse.h"
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

    // The exchange the query runs, with its request builder (the last request's reference, body and
    // credential) and what it received.
    EchangeInfoProduit &echange() { return *m_echange; }

    // ---- Request construction (see ConstructeurRequete); failures are shown.

    QString PML_ConstruitRequeteInfoProduit(const QString &lignes, const CompteRepartiteur &compte);

    // ---- Reply processing: decodes (DecodeurRetour) and shows.

    // A reply as the bytes received: product line, end of service, wholesaler error, or
    // "Retour non conforme".
    void PML_TraiteRetour(const QByteArray &retour);
    // The French label of a price nature followed by the amount without its leading zeros; "" for an
    // unknown nature. The caller's amount loses its leading zeros too.
    static QString PML_LibellePrix(const QString &nature, QString &montant);
    // Drops the leading "0" characters, from the caller's text too.
    static QString PML_SupprimeZeros(QString &texte);

    // ---- HTTP transport.

    // Longest wait for a complete reply, 60 s unless changed.
    void setDelaiAttente(std::chrono::milliseconds delai) { m_echange->setDelaiAttente(delai); }

    // One whole exchange for the product list and the account (its settings as the caller read them):
    // builds and sends the request, waits for the reply while events run, shows the outcome. A call
    // made while one is waiting does nothing; the wait ends at once when this module is deleted or
    // the application quits.
    void PML_EnvoieUneRequete(const QString &lignes, const CompteRepartiteur &compte);
    // How the last PML_EnvoieUneRequete ended, as it was shown (a reply that never came included).
    const ResultatEchange &dernierResultat() const { return m_dernierResultat; }

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
    ResultatEchange m_dernierResultat;
    bool m_enCours = false;
    // Goes with us: ends a wait that is running when we are deleted, and lets that wait and the
    // displays see that we are gone.
    QObject m_gardien;
};
