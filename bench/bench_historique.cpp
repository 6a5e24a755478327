// The history with 1,000,000 answers in a SQLite file (20,000 products, two accounts, 400 days, about
// one answer in three not available): recording a 50-line reply, searching a code, the shortage
// record, and the bytes each answer takes on disk.
#include "basehistorique.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int reponses = 1000000;
constexpr int produits = 20000;

ReponseEnregistree reponse(int i, const QDateTime &moment)
{
    ReponseEnregistree r;
    r.horodatage = moment;
    r.source = ReponseEnregistree::Source(i % 4);
    r.compte = qint16(1 + i % 2);
    r.repartiteur = r.compte == 1 ? QStringLiteral("PHOENIX") : QStringLiteral("CERP ROUEN");
    r.idRepartiteur = r.compte == 1 ? QStringLiteral("23") : QStringLiteral("18");
    r.codeDemande = QString::number(3000000 + (i * 7919) % produits);
    r.codeRepondu = r.codeDemande;
    r.designation = QStringLiteral("PRODUIT %1 CPR B/30").arg(r.codeDemande);
    const bool manque = (i / 2) % 3 == 0;
    r.etat = manque ? ReponseEnregistree::Etat::NonDisponible : ReponseEnregistree::Etat::Disponible;
    r.codeReponse = manque ? QStringLiteral("0005") : QString();
    r.motif = manque ? QStringLiteral("Manque rayon") : QString();
    r.prix = QStringLiteral("PHAHT=1.570;NETHT=1.490;PUBTC=2.180");
    r.refMessage = QStringLiteral("20261207%1").arg(i % 1000000, 6, 10, QLatin1Char('0'));
    return r;
}

// The database, filled once for every benchmark.
struct Base {
    QTemporaryDir dossier;
    std::unique_ptr<BaseHistorique> base;

    Base()
    {
        base = std::make_unique<BaseHistorique>(*ParametresHistorique::depuisBase({}, dossier.path()));
        base->ouvre();
        const QDateTime debut = QDateTime::currentDateTime().addDays(-400);
        QList<ReponseEnregistree> lot;
        for (int i = 0; i < reponses; ++i) {
            lot.append(reponse(i, debut.addSecs(qint64(i) * 400 * 86400 / reponses)));
            if (lot.size() == 10000) {
                base->enregistre(lot);
                lot.clear();
            }
        }
    }
    static Base &instance()
    {
        static Base b;
        return b;
    }
};

void Enregistre50Lignes(benchmark::State &state)
{
    Base &b = Base::instance();
    QList<ReponseEnregistree> lot;
    for (int i = 0; i < 50; ++i)
        lot.append(reponse(i, QDateTime::currentDateTime()));
    for (auto _ : state)
        benchmark::DoNotOptimize(b.base->enregistre(lot));
    state.counters["octets_par_reponse"] =
        double(QFileInfo(b.base->parametres().fichier).size()) / double(reponses);
}
BENCHMARK(Enregistre50Lignes)->Unit(benchmark::kMillisecond)->UseRealTime();

void ChercheUnCode(benchmark::State &state)
{
    Base &b = Base::instance();
    BaseHistorique::Filtre filtre;
    int i = 0;
    for (auto _ : state) {
        filtre.code = QString::number(3000000 + (i++ * 31) % produits);
        benchmark::DoNotOptimize(b.base->cherche(filtre));
    }
}
BENCHMARK(ChercheUnCode)->Unit(benchmark::kMillisecond)->UseRealTime();

void RegistreDesRuptures(benchmark::State &state)
{
    Base &b = Base::instance();
    for (auto _ : state)
        benchmark::DoNotOptimize(b.base->ruptures(72, 2));
}
BENCHMARK(RegistreDesRuptures)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
