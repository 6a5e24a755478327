// A list of 500 codes checked at two simulated wholesalers on loopback (10 requests of 50 lines each):
// in the list window, offscreen, from Ctrl+Enter to the table's last cell drawn; and with
// `solvarin-query --liste`, from its start to its last line printed.
#include "fichierini.h"
#include "frmliste.h"
#include "repartiteur.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int codes = 500;

// Two complete accounts, one at each wholesaler, in a settings folder of their own.
class DeuxRepartiteurs {
public:
    DeuxRepartiteurs()
    {
        FichierINI::setRepertoireProgramme(m_dir.path());
        for (int n = 1; n <= 2; ++n)
            ecritCompte(n, m_repartiteurs[n - 1].port(), n == 1 ? "PHOENIX" : "CERP ROUEN", "23",
                        "http://127.0.0.1/pml");
    }
    QString dossier() const { return m_dir.path(); }
    int requetes() const { return m_repartiteurs[0].requetes() + m_repartiteurs[1].requetes(); }

private:
    QTemporaryDir m_dir;
    Repartiteur m_repartiteurs[2];
};

QString liste()
{
    QStringList lignes{QStringLiteral("3582910"), QStringLiteral("3153342"), QStringLiteral("2756339")};
    for (int i = 0; lignes.size() < codes; ++i)
        lignes << QString::number(3100000 + i);
    return lignes.join(u'\n');
}

void ListeFenetre(benchmark::State &state)
{
    DeuxRepartiteurs repartiteurs;
    FrmListe fenetre;
    fenetre.ajoute(liste());
    fenetre.show();
    auto *table = fenetre.findChild<QTableView *>(QStringLiteral("table"));
    auto *progression = fenetre.findChild<QProgressBar *>(QStringLiteral("progression"));
    int requetes = 0;
    for (auto _ : state) {
        const int avant = repartiteurs.requetes();
        fenetre.verifie();
        QEventLoop boucle;
        QObject::connect(progression, &QProgressBar::valueChanged, &boucle, [&boucle, progression](int v) {
            if (v == progression->maximum())
                boucle.quit();
        });
        boucle.exec();
        table->scrollToBottom();
        table->viewport()->repaint();
        requetes = repartiteurs.requetes() - avant;
        const QAbstractItemModel *modele = table->model();
        if (modele->index(codes - 1, 3).data().toString() != QStringLiteral("Non disponible")) {
            state.SkipWithError("the last line was not answered");
            break;
        }
    }
    state.counters["requests"] = requetes;
}
BENCHMARK(ListeFenetre)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ListeCommande(benchmark::State &state)
{
    DeuxRepartiteurs repartiteurs;
    const QByteArray entree = liste().toLatin1();
    int requetes = 0;
    for (auto _ : state) {
        const int avant = repartiteurs.requetes();
        QProcess commande;
        commande.start(QCoreApplication::applicationDirPath() + QStringLiteral("/solvarin-query"),
                       {QStringLiteral("--liste"), repartiteurs.dossier()});
        commande.write(entree);
        commande.closeWriteChannel();
        // The simulators answer from their own threads; this one only waits.
        if (!commande.waitForFinished(30000) || commande.readAllStandardOutput().count('\n') != 2 * codes) {
            state.SkipWithError("solvarin-query did not print a line per code and account");
            break;
        }
        requetes = repartiteurs.requetes() - avant;
    }
    state.counters["requests"] = requetes;
}
BENCHMARK(ListeCommande)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
