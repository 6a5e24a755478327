#pragma once

#include "verificationliste.h"

#include <array>

// The columns the list's table has for each account, in their order, and what each holds: the window
// shows them and the exports write them by going through `champs`.
namespace ColonnesCompte {

enum class Champ {
    Etat,        // the availability in words, the wholesaler's name as title
    Prix,        // the prices (the exports: one column per nature)
    Motif,       // the reason in words; its remarks as tooltip
    RetourPrevu, // the date the wholesaler expects the product back; time and quantity as tooltip
    Remplacant   // the code and designation of what it offers instead; kind and prices as tooltip
};
inline constexpr std::array champs{Champ::Etat, Champ::Prix, Champ::Motif, Champ::RetourPrevu,
                                   Champ::Remplacant};

// "Prix", "Motif", "Retour prévu", "Remplaçant"; the wholesaler's name for the state.
QString titre(Champ champ, const ReponsesCompte &compte);

// What the cell of an answered code holds ("" for a code without an answer line): the prices as
// amounts joined by " / ", the date as 08/02/2025, the replacement as its code and designation.
// The state and the reason are TableauListe's.
QString texte(Champ champ, const ReponseCode &reponse);

// The cell's tooltip: the prices with their labels, the reason's remarks, the expected date with its
// time and quantity, the replacement's kind and prices; "" when there is nothing more to say.
QString infobulle(Champ champ, const ReponseCode &reponse);

} // namespace ColonnesCompte
