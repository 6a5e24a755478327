// A round of the watch over 500 products at two simulated wholesalers on loopback (10 requests of 50
// lines at each), from its start to its last answer stored in the SQLite file; the target is 200 ms.
#include "basesurveillance.h"
#include "fichierini.h"
#include "repartiteur.h"
#include "surveillance.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int produits = 500;

void TourDeSurveillance(benchmark::State &state)
{
    QTemporaryDir dossier;
    FichierINI::setRepertoireProgramme(dossier.path());
    Repartiteur repartiteurs[2];
    for (int n = 1; n <= 2; ++n)
        ecritCompte(
            n, {.nom = n == 1 ? "PHOENIX" : "CERP ROUEN", .id = "23", .port = repartiteurs[n - 1].port()});
    Surveillance surveillance;
    QStringList codes{QStringLiteral("3582910"), QStringLiteral("3153342"), QStringLiteral("2756339")};
    for (int i = 0; codes.size() < produits; ++i)
        codes << QString::number(3100000 + i);
    surveillance.ajoute(codes);
    int requetes = 0;
    for (auto _ : state) {
        const int avant = repartiteurs[0].requetes() + repartiteurs[1].requetes();
        QEventLoop boucle;
        QObject::connect(&surveillance, &Surveillance::tourTermine, &boucle, &QEventLoop::quit);
        if (!surveillance.lanceTour(true, true)) {
            state.SkipWithError("the round did not start");
            break;
        }
        boucle.exec();
        requetes = repartiteurs[0].requetes() + repartiteurs[1].requetes() - avant;
    }
    state.counters["requests"] = requetes;
}
BENCHMARK(TourDeSurveillance)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
