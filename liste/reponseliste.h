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

// "Additif : ...", "Commentaire : ..." and "Date d'effet : ..." on a line each, those the line has.
QString remarques(const LigneReponse &ligne);

// An amount as received ("0001.570") in French: "1,57" (at least two decimals, no leading zero, decimal
// comma). Anything but a plain decimal number is given back as received.
QString montant(const QString &valeur);
// The same followed by " €".
QString prix(const QString &valeur);

// Of two answers of the same product, which is available at the lower purchase price, and the price
// nature compared: the net price NETHT when both have one, else PHAHT when both have one.
struct Comparaison {
    int moinsCher; // 0 or 1
    QString nature;
};
// None when either is not available, when neither nature is there for both, or when the prices are
// equal.
std::optional<Comparaison> comparePrix(const LigneReponse &a, const LigneReponse &b);
std::optional<int> moinsCher(const LigneReponse &a, const LigneReponse &b);

} // namespace ReponseListe
