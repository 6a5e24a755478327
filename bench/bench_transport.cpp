// One whole availability query against the simulated wholesaler on loopback: settings read, request
// built and signed, trace written, HTTP exchange, reply parsed and shown.
#include "fichierini.h"
#include "interrogation.h"
#include "repartiteur.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

void WholeQueryOverLoopback(benchmark::State &state) {
    Repartiteur repartiteur(int(state.range(0)));
    QTemporaryDir dir;
    FichierINI::setRepertoireProgramme(dir.path());
    const QList<std::pair<QString, QString>> reglages = {
        {"NomRepart1", "OCP"},
        {"IdRepart1", "12"},
        {"CodeRepart1", "04"},
        {"URLRepart1", "http://127.0.0.1/pharmaml/info.php"},
        {"PortRepart1", QString::number(repartiteur.port())},
        {"NumeroCli1", "0999908"},
        {"ClefCli1", "4083"},
    };
    for (const auto &[cle, valeur] : reglages)
        FichierINI::EcrireIni(QStringLiteral("Infos"), cle, valeur);
    // Each exchange timed on its own, for the percentiles of the run.
    std::vector<double> durees;
    for (auto _ : state) {
        const auto debut = std::chrono::steady_clock::now();
        const QStringList lignes = interrogeRepartiteur(dir.path(), 1, QStringLiteral("3582910"));
        durees.push_back(
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - debut).count());
        if (lignes.size() != 3 || !lignes[2].endsWith(QStringLiteral("DISPONIBLE"))) {
            state.SkipWithError("the exchange did not show the product as available");
            break;
        }
        benchmark::DoNotOptimize(lignes);
    }
    if (durees.empty())
        return;
    std::sort(durees.begin(), durees.end());
    const auto centile = [&durees](double p) {
        return durees[std::size_t(p / 100 * double(durees.size() - 1))];
    };
    // Nanoseconds; the report prints counters named pNN as times.
    state.counters["p50"] = centile(50);
    state.counters["p99"] = centile(99);
}
BENCHMARK(WholeQueryOverLoopback)
    ->Arg(0)
    ->Arg(64)
    ->ArgName("chunk")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(1.0);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
