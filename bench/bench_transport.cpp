// One whole availability query against the simulated wholesaler on loopback: settings read, request
// built and signed, trace written, HTTP exchange, reply parsed and shown. And the same query to a
// wholesaler whose server is down: from the query to the message.
#include "fichierini.h"
#include "interrogation.h"
#include "repartiteur.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace {

// Account 1 of a settings file in `dir` pointed at 127.0.0.1 on that port, then one query for
// 3582910 per iteration, each timed on its own for the percentiles of the run. `attendu` tells
// whether the result area shows what it should.
void interrogeChaqueFois(benchmark::State &state, const QTemporaryDir &dir, quint16 port,
                         const std::function<bool(const QStringList &)> &attendu, const char *sinon)
{
    FichierINI::setRepertoireProgramme(dir.path());
    ecritCompte(1, {.url = "http://127.0.0.1/pharmaml/info.php", .port = port});
    std::vector<double> durees;
    for (auto _ : state) {
        const auto debut = std::chrono::steady_clock::now();
        const QStringList lignes = interrogeRepartiteur(dir.path(), 1, QStringLiteral("3582910"));
        durees.push_back(
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - debut).count());
        if (!attendu(lignes)) {
            state.SkipWithError(sinon);
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

void WholeQueryOverLoopback(benchmark::State &state)
{
    Repartiteur repartiteur(int(state.range(0)));
    QTemporaryDir dir;
    interrogeChaqueFois(
        state, dir, repartiteur.port(),
        [](const QStringList &lignes) {
            return lignes.size() == 3 && lignes[2].endsWith(QStringLiteral("DISPONIBLE"));
        },
        "the exchange did not show the product as available");
}

// A port just closed: the connection is refused, and the message shows.
void RefusedConnectionOverLoopback(benchmark::State &state)
{
    QTcpServer ferme;
    if (!ferme.listen(QHostAddress::LocalHost)) {
        state.SkipWithError("cannot listen on the loopback");
        return;
    }
    const quint16 port = ferme.serverPort();
    ferme.close();
    QTemporaryDir dir;
    interrogeChaqueFois(
        state, dir, port,
        [](const QStringList &lignes) {
            return lignes.size() == 2 &&
                   lignes[0].endsWith(QStringLiteral("Le répartiteur ne répond pas à l'adresse indiquée !"));
        },
        "the exchange did not show the refused connection");
}
BENCHMARK(RefusedConnectionOverLoopback)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

BENCHMARK(WholeQueryOverLoopback)
    ->Arg(0)
    ->Arg(64)
    ->ArgName("chunk")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(1.0);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
