#pragma once

#include <QList>
#include <QString>

#include <optional>

// The products the simulated wholesaler knows. Any other code is answered as unknown.
namespace Catalogue {

struct Prix {
    QString nature; // "PHAHT", "PUBTC", ...
    QString valeur; // as a wholesaler writes it: a decimal with three places
};

struct Produit {
    QString cip;
    QString designation;
    QList<Prix> prix; // at most three
    bool disponible = true;
    QString codeReponse; // NON_DISPO only: the availability code; none gives an AUTRE answer
    QString additif;     // NON_DISPO: the wholesaler's remark; AUTRE: its comment
};

// What the wholesaler says of a missing product beyond its reason.
struct QuandEtQuoi {
    QString cip;
    // When it expects it back (INFOS_DISPO): in that many days from today (0: not said), at that time,
    // in that quantity (each optional).
    int retourDansJours;
    QString heureRetour;
    QString quantiteRetour;
    // What it offers instead (PRODUIT_REMPLACANT), when it names a code: kind RL, EL or EP, prices.
    QString typeRemplacement;
    QString codeRemplacant;
    QString designationRemplacant;
    QList<Prix> prixRemplacant;
};

const QList<Produit> &produits();
std::optional<Produit> cherche(const QString &cip);
std::optional<QuandEtQuoi> quandEtQuoi(const QString &cip);

// A code the catalogue will never hold, for trying the "unknown product" answer (code 1).
inline constexpr char16_t codeInconnu[] = u"1234567";

} // namespace Catalogue
