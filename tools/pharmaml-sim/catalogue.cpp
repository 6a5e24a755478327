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
         QStringLiteral("0004"),
         QStringLiteral("Rupture fabricant")},
        // One product for every other availability answer a wholesaler gives.
        {QStringLiteral("3319434"),
         QStringLiteral("MAALOX MAUX D'ESTOMAC CPR B/40"),
         {{QStringLiteral("PHAHT"), QStringLiteral("3.120")}, {QStringLiteral("PUBTC"), QStringLiteral("4.890")}},
         false,
         QStringLiteral("0002"),
         QStringLiteral("Non tenu en stock")},
        {QStringLiteral("3004642"),
         QStringLiteral("DI-ANTALVIC GELULE B/20"),
         {},
         false,
         QStringLiteral("0003"),
         QStringLiteral("Arret de commercialisation")},
        {QStringLiteral("3592231"),
         QStringLiteral("VOLTARENE EMULGEL 1% T/100G"),
         {{QStringLiteral("PUBTC"), QStringLiteral("6.700")}},
         false,
         QStringLiteral("0006"),
         QStringLiteral("Retrait de lot")},
        {QStringLiteral("3356812"),
         QStringLiteral("SUBUTEX 8MG CPR SUBLING B/7"),
         {{QStringLiteral("PHAHT"), QStringLiteral("18.340")}},
         false,
         QStringLiteral("0007"),
         QStringLiteral("Stupefiant : commande sur bon")},
        {QStringLiteral("3622757"),
         QStringLiteral("AMOXICILLINE 1G CPR DISP B/14"),
         {{QStringLiteral("PHAHT"), QStringLiteral("2.050")},
          {QStringLiteral("NETHT"), QStringLiteral("1.980")},
          {QStringLiteral("PUBTC"), QStringLiteral("3.240")}},
         false,
         QStringLiteral("1042"),
         QStringLiteral("Contingentement : 2 boites par jour")},
        {QStringLiteral("3267408"),
         QStringLiteral("EXOMUC 200MG GRANULE SACH B/24"),
         {{QStringLiteral("PHAHT"), QStringLiteral("2.690")}},
         false,
         {},
         QStringLiteral("Livraison directe par le laboratoire")},
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
