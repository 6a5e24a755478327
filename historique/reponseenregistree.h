#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One answered line as the history keeps it: who asked, whom, what came back. Never a client key,
// a credential or a password.
struct ReponseEnregistree {
    // Where the question was asked.
    enum class Source { Comptoir = 0, Liste = 1, Surveillance = 2, Console = 3 };
    // What the account said of the code. The numbers are stored: never renumber them.
    enum class Etat {
        Disponible = 0,
        NonDisponible = 1,
        Autre = 2,
        Erreur = 3,     // the wholesaler answered with an ERREUR
        Absent = 4,     // its reply had no line for the code
        FinService = 5, // it announced the end of the service
        Echec = 6       // the exchange failed: `motif` holds its message
    };

    QDateTime horodatage; // local time of the answer
    Source source = Source::Comptoir;
    qint16 compte = 0;     // account number, 1 or 2
    QString repartiteur;   // the wholesaler's name ("NomRepart" + n)
    QString idRepartiteur; // its identifier ("IdRepart" + n)
    QString codeDemande;
    QString codeRepondu; // Code_Produit of the reply line, empty without one
    QString designation;
    Etat etat = Etat::Echec;
    QString codeReponse; // as received ("0005")
    QString motif;       // the reason in words, or the failure's message
    QString prix;        // "NATURE=amount" pairs joined by ";", amounts without leading zeros
    QString datePrevue;  // YYYY-MM-DD, empty when none was announced
    QString heurePrevue; // hh:mm
    QString quantitePrevue;
    QString remplacantCode;
    QString remplacantDesignation;
    QString remplacantType; // RL, EL, EP
    QString commentaire;
    QString refMessage;

    // Whether the wholesaler said it cannot deliver the product now (the shortage record counts these).
    bool manquant() const { return etat == Etat::NonDisponible || etat == Etat::Autre; }
};

// A product that no account has had over a whole period: what the shortage record declares.
struct Rupture {
    QString code;
    QString designation;
    QDateTime depuis;         // first missing answer since the last "available" one
    QDateTime derniere;       // last missing answer
    QList<qint16> comptes;    // the accounts that said so, in number order
    QStringList motifs;       // each account's last reason, in the same order
    QStringList datesPrevues; // each account's last announced date (YYYY-MM-DD or empty), same order
};
