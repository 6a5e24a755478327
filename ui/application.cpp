#include "application.h"

#include "dossierparametres.h"
#include "fichierini.h"
#include "frmmain.h"
#include "historique.h"
#include "surveillance.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTranslator>

void montreErreurFichier(const QString &title, const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), title, text);
}

int lanceSolvarin(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Solvarin"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The program speaks French: so do the standard buttons of its message boxes ("Oui", "Non").
    QTranslator qtFrancais;
    if (qtFrancais.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrancais);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/solvarin/solvarin.ico")));
    // Where Tahoma and Arial are not installed, fonts of the same metrics keep the captions in
    // their places.
    QFont::insertSubstitutions(
        QStringLiteral("Tahoma"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Arial"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});

    DossierParametres::etablisPourCeProgramme();
    FichierINI::setRapporteur(montreErreurFichier);

    // Made before the window and ended after it: every answer it recorded is written first.
    Historique historique;
    frmMain window;
    window.show();
    window.surveillance().demarre();
    return app.exec();
}
