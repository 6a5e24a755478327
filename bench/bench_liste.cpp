// A list of 500 codes checked at two simulated wholesalers on loopback (10 requests of 50 lines each):
// in the list window, offscreen, from Ctrl+Enter to the table's last cell drawn; and with
// `solvarin-query --liste`, from its start to its last line printed. And the exports of such a list
// answered: the CSV text, and the Excel workbook written to a file.
#include "classeurliste.h"
#include "fichierini.h"
#include "frmliste.h"
#include "repartiteur.h"
#include "tableauliste.h"

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
            ecritCompte(
                n,
                {.nom = n == 1 ? "PHOENIX" : "CERP ROUEN", .id = "23", .port = m_repartiteurs[n - 1].port()});
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

// Arg 0: the CSV; 1: the workbook. Two accounts answered every line with three prices.
void ListeExport(benchmark::State &state)
{
    QList<LigneListe> lignes;
    LectureListe::ajoute(lignes, LectureListe::lis(liste()));
    QList<ReponsesCompte> comptes{{1, QStringLiteral("PHOENIX"), {}, false, {}},
                                  {2, QStringLiteral("CERP ROUEN"), {}, false, {}}};
    for (ReponsesCompte &compte : comptes) {
        for (const LigneListe &l : std::as_const(lignes)) {
            ReponseCode reponse;
            reponse.etat = ReponseCode::Etat::Repondue;
            reponse.ligne.designation = QStringLiteral("DOLIPRANE 1000MG CPR B/8");
            reponse.ligne.disponibilite = Disponibilite::Disponible;
            reponse.ligne.prix = {{QStringLiteral("PHAHT"), QStringLiteral("0001.570")},
                                  {QStringLiteral("NETHT"), QStringLiteral("0001.490")},
                                  {QStringLiteral("PUBTC"), QStringLiteral("0002.180")}};
            compte.parCode.insert(l.code, reponse);
        }
    }
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("liste.xlsx"));
    for (auto _ : state) {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(TableauListe::csv(lignes, comptes));
        } else if (!ClasseurListe::ecrit(chemin, lignes, comptes).isEmpty()) {
            state.SkipWithError("the workbook was not written");
            break;
        }
    }
    state.SetLabel(state.range(0) == 0 ? "csv" : "xlsx");
}
BENCHMARK(ListeExport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
