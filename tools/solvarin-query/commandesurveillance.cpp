#include "commandesurveillance.h"

#include "basesurveillance.h"
#include "commandehistorique.h"
#include "comptes.h"
#include "fichierini.h"
#include "surveillance.h"
#include "zonetexte.h"

#include <QDir>
#include <QEventLoop>
#include <QTextStream>

#include <cstdio>
#include <map>

namespace {

// The watch of DIR, telling its warnings on standard error.
void prepare(Surveillance &surveillance, const QString &repertoire)
{
    FichierINI::setRepertoireProgramme(QDir(repertoire).absolutePath());
    QObject::connect(&surveillance, &Surveillance::avertissement, [](const QString &message) {
        std::fprintf(stderr, "solvarin-query: %s\n", qPrintable(message));
    });
}

// The list edited; `ajoute` false removes.
int modifie(const QStringList &arguments, bool ajoute)
{
    if (arguments.size() < 2 || !QDir(arguments.first()).exists()) {
        std::fprintf(stderr, "usage: solvarin-query %s DIR CODE...\n",
                     ajoute ? "--surveillance-ajoute" : "--surveillance-retire");
        return 2;
    }
    Surveillance surveillance;
    prepare(surveillance, arguments.first());
    if (!surveillance.base())
        return 1;
    const QStringList codes = arguments.mid(1);
    if (!ajoute) {
        surveillance.retire(codes);
        return 0;
    }
    const QStringList refuses = surveillance.ajoute(codes);
    for (const QString &code : refuses)
        std::fprintf(
            stderr, "solvarin-query: \"%s\" is no product code (7 digits, or a CIP13 with its check digit)\n",
            qPrintable(code));
    return refuses.isEmpty() ? 0 : 2;
}

} // namespace

int commandeSurveillanceAjoute(const QStringList &arguments)
{
    return modifie(arguments, true);
}

int commandeSurveillanceRetire(const QStringList &arguments)
{
    return modifie(arguments, false);
}

int commandeSurveillance(const QStringList &arguments, std::chrono::milliseconds delai)
{
    const bool maintenant = arguments.size() == 2 && arguments[1] == QLatin1String("--maintenant");
    if ((arguments.size() != 1 && !maintenant) || !QDir(arguments.value(0)).exists()) {
        std::fprintf(stderr, "usage: solvarin-query --surveillance DIR [--maintenant]\n");
        return 2;
    }
    Surveillance surveillance;
    prepare(surveillance, arguments.first());
    surveillance.setDelaiAttente(delai);
    if (Comptes::complets().isEmpty()) {
        std::fprintf(stderr, "solvarin-query: no complete account in %s\n",
                     qPrintable(FichierINI::CheminIni()));
        return 1;
    }
    if (!surveillance.base())
        return 1;
    if (!maintenant && !ParametresSurveillance::lis().ouvert(QDateTime::currentDateTime())) {
        std::fprintf(stderr, "solvarin-query: outside the opening hours, nothing asked\n");
        return 0;
    }
    std::map<std::pair<QString, qint16>, Changement> changements;
    QObject::connect(&surveillance, &Surveillance::changement, [&changements](const Changement &c) {
        const auto cle = std::make_pair(c.code, c.compte);
        // Twice in a round (a failure after an answer) keeps the state before the first.
        const auto avant = changements.count(cle) ? changements[cle].avant : c.avant;
        changements[cle] = c;
        changements[cle].avant = avant;
    });
    QEventLoop boucle;
    QObject::connect(&surveillance, &Surveillance::tourTermine, &boucle, &QEventLoop::quit);
    if (!surveillance.lanceTour(true, true))
        return 1;
    boucle.exec();

    // The designation as the round last gave it, the same on every account's line.
    const auto produits = surveillance.base()->produits();
    QHash<QString, QString> designations;
    for (const ProduitSurveille &p : produits.value_or(QList<ProduitSurveille>()))
        designations.insert(p.code, p.designation);
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const auto &[cle, c] : changements) {
        if (c.avant == c.apres)
            continue;
        const QStringList champs{c.code, QString::number(c.compte),
                                 c.avant ? statutListe(*c.avant) : QString(), statutListe(c.apres),
                                 designations.value(c.code, c.designation)};
        QStringList echappes;
        for (const QString &champ : champs)
            echappes << echappeSortie(champ);
        out << echappes.join(u'\t') << '\n';
    }
    return 0;
}
