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
        // Missing, with when it comes back or what instead (quandEtQuoi).
        {QStringLiteral("3641820"),
         QStringLiteral("IMODIUM 2MG GELULE B/20"),
         {{QStringLiteral("PHAHT"), QStringLiteral("2.840")},
          {QStringLiteral("PUBTC"), QStringLiteral("4.150")}},
         false,
         QStringLiteral("0004"),
         QStringLiteral("Rupture fabricant")},
        {QStringLiteral("3589142"),
         QStringLiteral("FERVEX ADULTE SANS SUCRE SACH B/8"),
         {{QStringLiteral("PHAHT"), QStringLiteral("3.460")},
          {QStringLiteral("NETHT"), QStringLiteral("3.280")}},
         false,
         {},
         QStringLiteral("DCOL nationale, livraison demain matin")},
        {QStringLiteral("3010284"),
         QStringLiteral("DOLIPRANE 1000MG CPR B/8 ANCIEN CDT"),
         {},
         false,
         QStringLiteral("1112"),
         QStringLiteral("Produit remplace")},
        {QStringLiteral("3172637"),
         QStringLiteral("DAFALGAN 1G CPR EFF B/8"),
         {{QStringLiteral("PHAHT"), QStringLiteral("1.640")}},
         false,
         QStringLiteral("0005"),
         QStringLiteral("Manque rayon")},
        {QStringLiteral("3298463"),
         QStringLiteral("ACTIFED RHUME JOUR ET NUIT CPR B/20"),
         {},
         false,
         QStringLiteral("0002"),
         QStringLiteral("Non tenu en stock")},
        {QStringLiteral("3433729"),
         QStringLiteral("SLIP MOLIPANTS SOFT EXL BT3"),
         {{QStringLiteral("NETHT"), QStringLiteral("20.100")},
          {QStringLiteral("PHAHT"), QStringLiteral("20.100")}},
         false,
         {},
         QStringLiteral("Remplace par le nouveau conditionnement")},
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

std::optional<QuandEtQuoi> quandEtQuoi(const QString &cip) {
    // One of each shape: a date; a date, time and quantity; each kind of replacement; both at once.
    static const QList<QuandEtQuoi> liste = {
        {QStringLiteral("3641820"), 5, {}, {}, {}, {}, {}, {}},
        {QStringLiteral("3589142"), 1, QStringLiteral("14:30"), QStringLiteral("2"), {}, {}, {}, {}},
        {QStringLiteral("3010284"), 0, {}, {}, QStringLiteral("RL"), QStringLiteral("3400935829108"),
         QStringLiteral("DOLIPRANE 1000MG CPR B/8"),
         {{QStringLiteral("NETHT"), QStringLiteral("1.490")},
          {QStringLiteral("PHAHT"), QStringLiteral("1.570")}}},
        {QStringLiteral("3172637"), 0, {}, {}, QStringLiteral("EL"), QStringLiteral("2756339"),
         QStringLiteral("EFFERALGAN 1G CPR EFF B/8"), {{QStringLiteral("PHAHT"), QStringLiteral("1.620")}}},
        {QStringLiteral("3298463"), 0, {}, {}, QStringLiteral("EP"), QStringLiteral("3582910"),
         QStringLiteral("DOLIPRANE 1000MG CPR B/8"), {{QStringLiteral("PHAHT"), QStringLiteral("1.570")}}},
        {QStringLiteral("3433729"), 2, {}, {}, QStringLiteral("RL"), QStringLiteral("4052199274713"),
         QStringLiteral("SLIP MOLICARE PREM FIX EXL 3"),
         {{QStringLiteral("NETHT"), QStringLiteral("7.240")},
          {QStringLiteral("PHAHT"), QStringLiteral("7.240")}}},
    };
    for (const QuandEtQuoi &q : liste) {
        if (q.cip == cip)
            return q;
    }
    return std::nullopt;
}

} // namespace Catalogue
