#pragma once

#include <QDate>
#include <QList>
#include <QString>

// One LIGNE of a REP_INFO_PRODUIT reply, as received: what the result area shows for one product
// and what the list window shows per product and account.
struct PrixLigne {
    QString nature; // "PHAHT", "PUBTC", ...
    QString valeur; // as received, leading zeros included
};

// When the wholesaler expects the product back (INFOS_DISPO_ND or INFOS_DISPO_AU). A value that breaks
// the schema's form is left empty alone: no date, no time, or no quantity.
struct RetourPrevu {
    QDate date;       // Date, a calendar date YYYY-MM-DD
    QString heure;    // Heure, "hh:mm", empty when absent or malformed
    QString quantite; // Quantite, a positive whole number as received, empty when absent or malformed
};

// The product the wholesaler offers instead (PRODUIT_REMPLACANT_ND or PRODUIT_REMPLACANT_AU); no code
// means no replacement.
struct Remplacant {
    QString typeRemplacement; // "RL", "EL", "EP", or as received when unknown
    QString typeCodification; // Type_Codification, as received
    QString codeProduit;
    QString designation;
    QList<PrixLigne> prix; // its own PRIX_ND / PRIX_AU, in order
};

enum class Disponibilite {
    Disponible,    // the line holds DISPO
    NonDisponible, // the line holds NON_DISPO
    Autre          // neither (AUTRE, or nothing)
};

struct LigneReponse {
    QString codeProduit;     // Code_Produit of the reply line
    int numLigneDemande = 0; // Num_Ligne_Demande (else Num_Ligne) when it is a number, else 0
    QString designation;     // Designation attribute
    QList<PrixLigne> prix;   // every PRIX of the line, in order
    // The first PRIX (index in `prix`) that lacks Nature or Valeur, kept there with the missing one
    // empty; -1 when every PRIX has both. The result area shows such a line as a fault.
    qsizetype prixIncomplet = -1;
    Disponibilite disponibilite = Disponibilite::Autre;
    QString codeReponse; // Code_Reponse of NON_DISPO (or of AUTRE), as received ("0005")
    QString additif;     // Additif of NON_DISPO (or of AUTRE)
    QString commentaire; // Commentaire of NON_DISPO (or of AUTRE)
    QString dateEffet;   // Date_Effet of NON_DISPO (or of AUTRE), as received
    RetourPrevu retourPrevu;
    Remplacant remplacant;
};

// How one REQ_INFO_PRODUIT exchange ended.
struct ResultatEchange {
    enum class Issue {
        Lignes, // a REP_INFO_PRODUIT was decoded: `lignes` holds its lines (possibly none)
        Echec   // anything else: `message` is what the one-product query shows in its result label
    };
    Issue issue = Issue::Echec;
    QList<LigneReponse> lignes;
    // Empty for a reply that holds neither a product answer nor an error (the one-product query then
    // shows nothing). After a fault met while reading the lines, `lignes` holds those read before.
    QString message;
    bool secours = false; // answered at the account's backup address

    static ResultatEchange echec(const QString &message)
    {
        ResultatEchange r;
        r.message = message;
        return r;
    }
};
