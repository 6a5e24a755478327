// solvarin-query DIR ACCOUNT CIP: one availability query from the command line, for checking an
// account's settings. Prints what the result area would show; exits 0 whatever the answer.
// solvarin-query --liste DIR [--xlsx FILE] [CODE[,QTY]...]: a whole list checked at every complete account.
#include "commandeliste.h"
#include "interrogation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("--liste"))
        return commandeListe(args.mid(2));
    const qint16 compte = args.size() == 4 ? qint16(args[2].toShort()) : 0;
    if (args.size() != 4 || (compte != 1 && compte != 2) || !QDir(args[1]).exists()) {
        std::fprintf(stderr, "usage: solvarin-query DIR ACCOUNT CIP\n"
                             "       solvarin-query --liste DIR [--xlsx FILE] [CODE[,QTY]...]\n"
                             "           (codes from stdin when none; --xlsx also writes the Excel workbook)\n"
                             "  DIR      folder holding Solvarin.ini (Trace.xml is written there)\n"
                             "  ACCOUNT  wholesaler account, 1 or 2\n"
                             "  CIP      product code\n");
        return 2;
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString &ligne : interrogeRepartiteur(QDir(args[1]).absolutePath(), compte, args[3]))
        out << ligne << '\n';
    return 0;
}
