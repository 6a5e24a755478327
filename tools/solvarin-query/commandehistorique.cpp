#include "commandehistorique.h"

#include "basehistorique.h"
#include "comptes.h"
#include "fichierini.h"
#include "modpharmaml.h"
#include "zonetexte.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

using Etat = ReponseEnregistree::Etat;

QString date(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString source(ReponseEnregistree::Source s)
{
    switch (s) {
    case ReponseEnregistree::Source::Comptoir:
        return QStringLiteral("comptoir");
    case ReponseEnregistree::Source::Liste:
        return QStringLiteral("liste");
    case ReponseEnregistree::Source::Surveillance:
        return QStringLiteral("surveillance");
    case ReponseEnregistree::Source::Console:
        break;
    }
    return QStringLiteral("console");
}

void imprime(const QList<QStringList> &lignes)
{
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const QStringList &champs : lignes) {
        QStringList echappes;
        for (const QString &c : champs)
            echappes << echappeSortie(c);
        out << echappes.join(u'\t') << '\n';
    }
}

// The history of DIR, opened; none with its message printed, or an absent SQLite file (nothing
// recorded yet: `vide` set, and no file made by a reading).
std::unique_ptr<BaseHistorique> ouvre(const QString &repertoire, bool &vide, int *heuresRupture = nullptr)
{
    FichierINI::setRepertoireProgramme(QDir(repertoire).absolutePath());
    QString erreur;
    const auto parametres = ParametresHistorique::lis(&erreur);
    vide = false;
    if (parametres && heuresRupture)
        *heuresRupture = parametres->heuresRupture;
    if (parametres && parametres->moteur == ParametresHistorique::Moteur::SQLite &&
        !QFileInfo::exists(parametres->fichier)) {
        vide = true;
        return nullptr;
    }
    auto base = parametres ? std::make_unique<BaseHistorique>(*parametres) : nullptr;
    if (base)
        erreur = base->ouvre();
    if (!erreur.isEmpty()) {
        std::fprintf(stderr, "solvarin-query: history cannot be read: %s\n", qPrintable(erreur));
        return nullptr;
    }
    return base;
}

} // namespace

QString statutListe(Etat etat)
{
    switch (etat) {
    case Etat::Disponible:
        return QStringLiteral("DISPONIBLE");
    case Etat::NonDisponible:
        return QStringLiteral("NON DISPONIBLE");
    case Etat::Autre:
        return QStringLiteral("AUTRE");
    case Etat::Absent:
        return QStringLiteral("ABSENT");
    case Etat::Erreur:
    case Etat::FinService:
    case Etat::Echec:
        break;
    }
    return QStringLiteral("ERREUR");
}

int commandeHistorique(const QStringList &arguments)
{
    if (arguments.isEmpty() || arguments.size() > 2 || !QDir(arguments.first()).exists()) {
        std::fprintf(stderr, "usage: solvarin-query --historique DIR [CODE]\n");
        return 2;
    }
    bool vide = false;
    const auto base = ouvre(arguments.first(), vide);
    if (!base)
        return vide ? 0 : 1;
    BaseHistorique::Filtre filtre;
    filtre.code = arguments.value(1);
    filtre.limite = std::numeric_limits<int>::max();
    QString erreur;
    const auto reponses = base->cherche(filtre, &erreur);
    if (!reponses) {
        std::fprintf(stderr, "solvarin-query: history cannot be read: %s\n", qPrintable(erreur));
        return 1;
    }
    QList<QStringList> lignes;
    for (const ReponseEnregistree &r : *reponses) {
        QString codeReponse = r.codeReponse;
        const QStringList remplacant{r.remplacantType, r.remplacantCode, r.remplacantDesignation};
        lignes.append({date(r.horodatage), source(r.source), QString::number(r.compte), r.codeDemande,
                       statutListe(r.etat), ModPharmaML::PML_SupprimeZeros(codeReponse), r.designation,
                       r.prix, r.motif, r.datePrevue,
                       r.remplacantCode.isEmpty() ? QString() : remplacant.join(u' ').trimmed()});
    }
    imprime(lignes);
    return 0;
}

int commandeRuptures(const QStringList &arguments)
{
    bool heuresLues = false;
    int heures = 0;
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--heures"))
        heures = arguments[2].toInt(&heuresLues);
    if ((arguments.size() != 1 && !(heuresLues && heures >= 0)) || !QDir(arguments.value(0)).exists()) {
        std::fprintf(stderr, "usage: solvarin-query --ruptures DIR [--heures N]\n");
        return 2;
    }
    bool vide = false;
    int heuresRupture = 0;
    const auto base = ouvre(arguments.first(), vide, &heuresRupture);
    if (!base)
        return vide ? 0 : 1;
    // Two wholesalers when the pharmacy has two complete accounts, else the one it has.
    const int comptesExiges = int(std::clamp<qsizetype>(Comptes::complets().size(), 1, 2));
    QString erreur;
    const auto ruptures = base->ruptures(heuresLues ? heures : heuresRupture, comptesExiges, &erreur);
    if (!ruptures) {
        std::fprintf(stderr, "solvarin-query: history cannot be read: %s\n", qPrintable(erreur));
        return 1;
    }
    QList<QStringList> lignes;
    for (const Rupture &r : *ruptures) {
        QStringList comptes;
        for (const qint16 c : r.comptes)
            comptes << QString::number(c);
        const bool datesAnnoncees = std::any_of(r.datesPrevues.begin(), r.datesPrevues.end(),
                                                [](const QString &d) { return !d.isEmpty(); });
        lignes.append({r.code, r.designation, date(r.depuis), date(r.derniere), comptes.join(u','),
                       r.motifs.join(u';'), datesAnnoncees ? r.datesPrevues.join(u';') : QString()});
    }
    imprime(lignes);
    return 0;
}
