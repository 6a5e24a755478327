#pragma once

#include "lectureliste.h"
#include "verificationliste.h"

// The products of a checked list that no account has: at least one account answered the code, and
// none said it is available. Valid codes only, in the list's order.
namespace Manquants {

QStringList codes(const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes);

} // namespace Manquants
