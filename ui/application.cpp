#include "application.h"

#include "fichierini.h"
#include "frmmain.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QStyleFactory>

void montreErreurFichier(const QString &title, const QString &text) {
    QMessageBox::critical(QApplication::activeWindow(), title, text);
}

int lanceSolvarin(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Solvarin"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/solvarin/solvarin.ico")));
    // Where Tahoma and Arial are not installed, fonts of the same metrics keep the captions in
    // their places.
    QFont::insertSubstitutions(
        QStringLiteral("Tahoma"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Arial"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});

    FichierINI::setRepertoireProgramme(QCoreApplication::applicationDirPath());
    FichierINI::setRapporteur(montreErreurFichier);

    frmMain window;
    window.show();
    return app.exec();
}
