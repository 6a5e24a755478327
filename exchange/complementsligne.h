#pragma once

#include "lignereponse.h"

#include <QStringList>

// What a reply line says beyond its prices and availability, in the counter's words: when the product
// comes back, what the wholesaler offers instead, its comment. The window and solvarin-query's
// one-product output write the same lines.
namespace ComplementsLigne {

// The kind of a replacement in words: RL "remplaçant livré", EL "équivalent livré", EP "équivalent
// proposé"; "" for any other.
QString genreRemplacement(QStringView type);

// "Disponible à partir du 08/02/2025", with " à 14:30" and " (quantité : 1)" when given; "" without a
// valid date.
QString retourPrevu(const RetourPrevu &retour);

// "Remplacé par : " and the code, the designation and the kind in brackets; "" without replacement.
QString remplacant(const Remplacant &remplacant);

// The lines below the product's prices, those the line has: the expected date, the replacement
// followed by its prices (written as the product's), the comment as the wholesaler wrote it.
QStringList lignes(const LigneReponse &ligne);

} // namespace ComplementsLigne
