#pragma once

#include <QStringView>

// What the Pharma-ML schemas allow in the request's attributes that come from the settings, so that
// a request they would refuse is never sent.
namespace Schema {

struct Contrainte {
    qsizetype minimum;
    qsizetype maximum;
    bool jeton; // an NMTOKEN: name characters only, around which blanks are dropped
};

// EMETTEUR/RECEPTEUR Id, Id_Client, Id_Societe.
inline constexpr Contrainte identifiant{1, 20, true};
// RECEPTEUR Code, Code_Societe: the two characters the wholesalers' association gives.
inline constexpr Contrainte codeSociete{2, 2, true};
// RECEPTEUR Adresse (cut to its first characters before use, so only its presence counts).
inline constexpr Contrainte adresse{1, 1024, false};

bool respecte(QStringView valeur, const Contrainte &contrainte);

} // namespace Schema
