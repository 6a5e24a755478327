#pragma once

#include <QStringList>

#include <optional>

// The wholesalers the settings pane offers, in the order of its list.
namespace Repartiteurs {

const QStringList &noms();

// The identifier stored with a name of the list (its position from 0, plus 11), compared exactly
// and case-sensitively; none for any other text.
std::optional<int> identifiant(const QString &nom);

} // namespace Repartiteurs
