#pragma once

#include "lignereponse.h"

#include <optional>

// What the list shows of one reply line: the reason in words, the remarks, the prices in French and the
// account with the lower purchase price.
namespace ReponseListe {

// The reason a product is not available: the words of the Pharma-ML availability codes 1 to 7
// ("Produit inconnu", ...); for any other code (1000 and up are the wholesaler's own) its Additif, or
// its Commentaire when it has none. Empty for an available product.
QString motif(const LigneReponse &ligne);

// "Additif : ..." and "Commentaire : ..." on a line each, those the line has.
QString remarques(const LigneReponse &ligne);

// An amount as received ("0001.570") in French: "1,57" (at least two decimals, no leading zero, decimal
// comma). Anything but a plain decimal number is given back as received.
QString montant(const QString &valeur);
// The same followed by " €".
QString prix(const QString &valeur);

// Of two answers of the same product, the one (0 or 1) available at the lower pharmacist purchase price:
// PHAHT when both have one, else NETHT when both have one. None when either is not available, when
// neither price is there for both, or when the prices are equal.
std::optional<int> moinsCher(const LigneReponse &a, const LigneReponse &b);

} // namespace ReponseListe
