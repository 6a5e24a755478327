#include "catalogue.h"

namespace Catalogue {

const QList<Produit> &produits() {
    static const QList<Produit> liste = {
        {QStringLiteral("3582910"),
         QStringLiteral("DOLIPRANE 1000MG CPR B/8"),
         {{QStringLiteral("PHAHT"), QStringLiteral("0001.570")},
          {QStringLiteral("NETHT"), QStringLiteral("0001.490")},
          {QStringLiteral("PUBTC"), QStringLiteral("0002.180")}},
         true,
         {},
         {}},
        // The same box by its CIP13, as a barcode scanner reads it.
        {QStringLiteral("3400935829108"),
         QStringLiteral("DOLIPRANE 1000MG CPR B/8"),
         {{QStringLiteral("PHAHT"), QStringLiteral("0001.570")},
          {QStringLiteral("NETHT"), QStringLiteral("0001.490")},
          {QStringLiteral("PUBTC"), QStringLiteral("0002.180")}},
         true,
         {},
         {}},
        {QStringLiteral("2756339"),
         QStringLiteral("EFFERALGAN 1G CPR EFF B/8"),
         {{QStringLiteral("PHAHT"), QStringLiteral("1.620")},
          {QStringLiteral("PUBTC"), QStringLiteral("2.270")}},
         true,
         {},
         {}},
        {QStringLiteral("3153342"),
         QStringLiteral("SPASFON LYOC 80MG B/10"),
         {{QStringLiteral("PUBTC"), QStringLiteral("3.950")}},
         false,
         QStringLiteral("0005"),
         QStringLiteral("Manque Rayon")},
        {QStringLiteral("3400892"),
         QStringLiteral("SMECTA 3G PDRE SACH B/30"),
         {{QStringLiteral("PHAHT"), QStringLiteral("4.310")},
          {QStringLiteral("CATHT"), QStringLiteral("4.480")},
          {QStringLiteral("PUBTC"), QStringLiteral("6.990")}},
         false,
         QStringLiteral("0007"),
         QStringLiteral("Rupture fabricant")},
    };
    return liste;
}

std::optional<Produit> cherche(const QString &cip) {
    for (const Produit &p : produits()) {
        if (p.cip == cip)
            return p;
    }
    return std::nullopt;
}

} // namespace Catalogue
