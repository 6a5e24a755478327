#pragma once

#include "reponseenregistree.h"

#include <QDateTime>
#include <QMap>
#include <QString>

#include <optional>

// What one account last said of a watched product.
struct EtatCompte {
    ReponseEnregistree::Etat etat = ReponseEnregistree::Etat::Echec; // its last answer
    QDateTime verifie;  // when it was last asked (answered or not)
    QString echec;      // the last asking's failure, empty when it answered
    QString datePrevue; // YYYY-MM-DD announced by the wholesaler, or empty
    QString remplacantCode;
    QString remplacantDesignation;

    // The state shown: the last asking's failure, else the last answer.
    ReponseEnregistree::Etat etatAffiche() const;

    // The announced date, when there is one and it is still ahead of `jour`.
    bool attendJusquA(const QDate &jour) const
    {
        const QDate date = QDate::fromString(datePrevue, Qt::ISODate);
        return date.isValid() && jour < date;
    }
};

// A watched product and, by account number, what each account said of it.
struct ProduitSurveille {
    QString code;
    QString designation;
    QDateTime depuis;  // when it was added
    QDateTime verifie; // last round that asked it, invalid before the first
    QMap<qint16, EtatCompte> comptes;
};

// A product whose state at an account changed during a round.
struct Changement {
    QString code;
    qint16 compte = 0;
    QString repartiteur;                           // the account's wholesaler name
    std::optional<ReponseEnregistree::Etat> avant; // none at the product's first check there
    ReponseEnregistree::Etat apres = ReponseEnregistree::Etat::Echec;
    QString designation;
    bool alerte = false; // answered available by an account that did not have it at its previous answer
};
