#include "compteessai.h"
#include "fichierini.h"
#include "http.h"
#include "modpharmaml.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

// A result area that shows nothing: the figures are those of the exchange alone.
class ZoneMuette : public ZoneResultat {
public:
    qint16 NumRepartCourant() const override { return 1; }
    void setCouleurTexteLabRetour(int, CouleurRVB) override {}
    void setLabRetour(int, const QString &texte) override { benchmark::DoNotOptimize(texte); }
    QString LabRetour(int) const override { return {}; }
    void setCouleurFondTxtInfos(int, CouleurRVB) override {}
    void setTxtInfos(int, const QString &texte) override { benchmark::DoNotOptimize(texte); }
    void laisseDeroulerEvenements() override {}
};

const QByteArray typicalReply =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<CSRP_ENVELOPPE xmlns=\"urn:x-csrp:fr.csrp.protocole:enveloppe\" Nature_Action=\"REP_EMISSION\" "
    "Version_Protocole=\"1.0.0.0\" Id_Logiciel=\"GROSSISTE\" Version_Logiciel=\"2.1\" Usage=\"P\">\n"
    "  <ENTETE>\n"
    "    <EMETTEUR Nature=\"RE\" Code=\"12\" Id=\"04\" Adresse=\"GROSSISTE\"/>\n"
    "    <RECEPTEUR Nature=\"OF\" Code=\"00\" Id=\"0999908\" Adresse=\"PHARMACIE DE LA GARE\"/>\n"
    "    <REF_MESSAGE>R1</REF_MESSAGE>\n"
    "    <EN_REPONSE_A>20260305090702</EN_REPONSE_A>\n"
    "    <DATE>2026-03-05T09:07:03</DATE>\n"
    "  </ENTETE>\n"
    "  <CORPS>\n"
    "    <MESSAGE_REPARTITEUR xmlns=\"urn:x-csrp:fr.csrp.protocole:message\">\n"
    "      <ENTETE><EMETTEUR Code_Societe=\"12\" Id_Societe=\"04\"/><DESTINATAIRE "
    "Id_Client=\"0999908\"/></ENTETE>\n"
    "      <CORPS>\n"
    "        <REP_INFO_PRODUIT Ref_Demande_Info=\"20260305090702\" Ref_Reponse_Info=\"RR1\">\n"
    "          <LIGNE Num_Ligne=\"1\" Type_Codification=\"CIP39\" Code_Produit=\"3400930260494\" "
    "Designation=\"DOLIPRANE 1000MG CPR 8\">\n"
    "            <PRIX Nature=\"PHAHT\" Valeur=\"0001.234\"/>\n"
    "            <PRIX Nature=\"PUBTC\" Valeur=\"2.50\"/>\n"
    "            <PRIX Nature=\"CSLTC\" Valeur=\"3.00\"/>\n"
    "            <DISPO/>\n"
    "          </LIGNE>\n"
    "        </REP_INFO_PRODUIT>\n"
    "      </CORPS>\n"
    "    </MESSAGE_REPARTITEUR>\n"
    "  </CORPS>\n"
    "</CSRP_ENVELOPPE>\n";

// A reply of 50 product lines, each with three prices and an availability, as a wholesaler answers a
// full order: every line is decoded and shown in turn.
QByteArray replyOfFiftyLines()
{
    const qsizetype debut = typicalReply.indexOf("          <LIGNE");
    const qsizetype fin = typicalReply.indexOf("        </REP_INFO_PRODUIT>");
    const QByteArray ligne = typicalReply.mid(debut, fin - debut);
    QByteArray lignes;
    for (int i = 1; i <= 50; ++i) {
        QByteArray l = ligne;
        l.replace("Num_Ligne=\"1\"", "Num_Ligne=\"" + QByteArray::number(i) + '"');
        if (i % 3 == 0)
            l.replace("<DISPO/>", "<NON_DISPO Additif=\"Manque rayon\"/>");
        lignes += l;
    }
    return typicalReply.first(debut) + lignes + typicalReply.sliced(fin);
}

void BuildOneRequest(benchmark::State &state)
{
    QTemporaryDir dir;
    FichierINI::setRepertoireProgramme(dir.path());
    CompteRepartiteur compte = CompteEssai{.url = "http://127.0.0.1/pharmaml"}.compte(1);
    compte.adrPharmacie = QStringLiteral("Pharmacie de la Gare");
    if (!ecritCompte(compte))
        state.SkipWithError("cannot write the settings file");

    ZoneMuette zone;
    ModPharmaML module(zone);
    for (auto _ : state) {
        benchmark::DoNotOptimize(module.PML_ConstruitRequeteInfoProduit(QStringLiteral("3400930260494,1"),
                                                                        CompteRepartiteur::lis(1)));
        benchmark::DoNotOptimize(module.echange().requete().empreinteRequete());
    }
}
BENCHMARK(BuildOneRequest);

// The whole reply handled at every iteration by one module.
void traite(benchmark::State &state, const QByteArray &reply)
{
    ZoneMuette zone;
    ModPharmaML module(zone);
    for (auto _ : state)
        module.PML_TraiteRetour(reply);
    state.SetBytesProcessed(state.iterations() * reply.size());
}

void ProcessThreePriceReply(benchmark::State &state)
{
    traite(state, typicalReply);
}
BENCHMARK(ProcessThreePriceReply);

void ProcessFiftyLineReply(benchmark::State &state)
{
    traite(state, replyOfFiftyLines());
}
BENCHMARK(ProcessFiftyLineReply);

// The reply with `motif(i)` repeated at `marque` of the typical reply, for i = 0, 1, ... as long as
// the whole reply, after a plain header block, stays within the reply cap.
QByteArray hostileReply(const char *marque, QByteArray (*motif)(int))
{
    const qsizetype position = typicalReply.indexOf(marque);
    QByteArray reply = typicalReply.first(position);
    const qsizetype place = Http::AssembleurRetour::tailleMax - 64 - typicalReply.size();
    for (int i = 0; reply.size() + motif(i).size() < place; ++i)
        reply += motif(i);
    return reply + typicalReply.sliced(position);
}

// 100,000 or so empty attributes on one product line.
QByteArray replyOfEmptyAttributes()
{
    return hostileReply(" Num_Ligne", [](int i) { return " a" + QByteArray::number(i) + "=\"\""; });
}

// As many empty product lines as fit.
QByteArray replyOfEmptyLines()
{
    return hostileReply("          <LIGNE", [](int) { return QByteArray("<LIGNE/>"); });
}

// Kilobytes of a line of /proc/self/status ("VmRSS:", "VmHWM:").
qint64 statusKiB(QByteArrayView key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Growth of the resident memory's peak while the reply is handled once, in MiB: freed memory is
// given back and the peak reset first.
double peakMiB(const QByteArray &reply)
{
    malloc_trim(0);
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1)
        return -1;
    reset.close();
    const qint64 before = statusKiB("VmRSS:");
    {
        ZoneMuette zone;
        ModPharmaML(zone).PML_TraiteRetour(reply);
    }
    return double(statusKiB("VmHWM:") - before) / 1024.0;
}

void ProcessHostileReply(benchmark::State &state, QByteArray (*make)())
{
    const QByteArray reply = make();
    state.counters["peak_MiB"] = peakMiB(reply);
    traite(state, reply);
}
BENCHMARK_CAPTURE(ProcessHostileReply, emptyAttributes, replyOfEmptyAttributes)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ProcessHostileReply, emptyLines, replyOfEmptyLines)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
