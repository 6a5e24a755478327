// solvarin-query [DIR] ACCOUNT CIP: one availability query from the command line, for checking an
// account's settings. Prints what the result area would show; exits 0 whatever the answer.
// solvarin-query --liste [DIR] [--xlsx FILE] [CODE[,QTY]...]: a whole list checked at every complete account.
// Without DIR, the settings are those of the folder the window uses.
// solvarin-query --historique DIR [CODE] and --ruptures DIR [--heures N]: the history read back.
// solvarin-query --surveillance DIR [--maintenant], --surveillance-ajoute DIR CODE... and
// --surveillance-retire DIR CODE...: a round of the watch, and its list edited.
// Every answer a query gets is recorded in the history.
#include "commandehistorique.h"
#include "commandeliste.h"
#include "commandesurveillance.h"
#include "dossierparametres.h"
#include "fichierini.h"
#include "historique.h"
#include "interrogation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    FichierINI::setRapporteur([](const QString &title, const QString &text) {
        std::fprintf(stderr, "solvarin-query: %s: %s\n", qPrintable(title), qPrintable(text));
    });
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("--historique"))
        return commandeHistorique(args.mid(2));
    if (args.value(1) == QLatin1String("--ruptures"))
        return commandeRuptures(args.mid(2));
    if (args.value(1) == QLatin1String("--surveillance-ajoute"))
        return commandeSurveillanceAjoute(args.mid(2));
    if (args.value(1) == QLatin1String("--surveillance-retire"))
        return commandeSurveillanceRetire(args.mid(2));
    const Historique historique;
    if (args.value(1) == QLatin1String("--liste"))
        return commandeListe(args.mid(2));
    if (args.value(1) == QLatin1String("--surveillance"))
        return commandeSurveillance(args.mid(2));
    const bool avecDossier = args.size() == 4;
    const qint16 compte = args.size() == 3 || avecDossier ? qint16(args[args.size() - 2].toShort()) : 0;
    if ((compte != 1 && compte != 2) || (avecDossier && !QDir(args[1]).exists())) {
        std::fprintf(stderr,
                     "usage: solvarin-query [DIR] ACCOUNT CIP\n"
                     "       solvarin-query --liste [DIR] [--xlsx FILE] [CODE[,QTY]...]\n"
                     "           (codes from stdin when none; --xlsx also writes the Excel workbook)\n"
                     "       solvarin-query --historique DIR [CODE]\n"
                     "       solvarin-query --ruptures DIR [--heures N]\n"
                     "       solvarin-query --surveillance DIR [--maintenant]\n"
                     "       solvarin-query --surveillance-ajoute DIR CODE...\n"
                     "       solvarin-query --surveillance-retire DIR CODE...\n"
                     "  DIR      folder holding Solvarin.ini (Trace.xml is written there); by default\n"
                     "           the folder the window uses\n"
                     "  ACCOUNT  wholesaler account, 1 or 2\n"
                     "  CIP      product code\n");
        return 2;
    }
    const QString dossier = avecDossier ? QDir(args[1]).absolutePath()
                                        : DossierParametres::etablis(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString &ligne : interrogeRepartiteur(dossier, compte, args.last()))
        out << ligne << '\n';
    return 0;
}
