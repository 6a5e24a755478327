// pharmaml-sim: a Pharma-ML wholesaler on 127.0.0.1 for trying Solvarin without a real one.
#include "catalogue.h"
#include "simulateur.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pharmaml-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Pharma-ML wholesaler on 127.0.0.1. Prints the port it listens on as its first line."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port to listen on; 0 picks a free one."),
                                  QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption compte(
        QStringLiteral("account"),
        QStringLiteral("Adds a client account (repeatable). Built in: 0999908:4083, "
                       "123456:CLEF9876."),
        QStringLiteral("client:key"));
    const QCommandLineOption refus(QStringLiteral("reply-401"),
                                   QStringLiteral("Answers HTTP 401 to every request."));
    const QCommandLineOption finService(QStringLiteral("fin-service"),
                                        QStringLiteral("Answers the end-of-service notice."));
    const QCommandLineOption erreur(QStringLiteral("erreur"), QStringLiteral("Answers a Pharma-ML error."),
                                    QStringLiteral("detail"));
    const QCommandLineOption chunked(QStringLiteral("chunked"),
                                     QStringLiteral("Chunked transfer coding, chunks of this many bytes."),
                                     QStringLiteral("size"));
    const QCommandLineOption morceau(QStringLiteral("piece"),
                                     QStringLiteral("Writes the reply this many bytes at a time."),
                                     QStringLiteral("bytes"));
    const QCommandLineOption coupe(
        QStringLiteral("split"),
        QStringLiteral("Splits writes inside the header block's end and the end tag."));
    const QCommandLineOption delai(QStringLiteral("delay"),
                                   QStringLiteral("Pause before the reply and between writes."),
                                   QStringLiteral("ms"));
    const QCommandLineOption sansFin(
        QStringLiteral("never-end"),
        QStringLiteral("Stops the reply before its end tag and keeps the connection."));
    const QCommandLineOption deluge(QStringLiteral("flood"), QStringLiteral("Streams a reply without end."));
    const QCommandLineOption lignesMax(
        QStringLiteral("lignes-max"),
        QStringLiteral("Refuses a request of more than N product lines with a Pharma-ML error."),
        QStringLiteral("N"));
    const QCommandLineOption pourcentPrix(QStringLiteral("price-percent"),
                                          QStringLiteral("Prices at this percentage of the catalogue's."),
                                          QStringLiteral("percent"), QStringLiteral("100"));
    const QCommandLineOption tls(
        QStringLiteral("tls"),
        QStringLiteral("Serves HTTPS with the certificate CERT and the key KEY (PEM files)."),
        QStringLiteral("CERT KEY"));
    const QCommandLineOption statut(
        QStringLiteral("status"),
        QStringLiteral("Answers a POST to PATH with that HTTP status (repeatable), e.g. /panne=503."),
        QStringLiteral("path=status"));
    parser.addOptions({port, compte, refus, finService, erreur, chunked, morceau, coupe, delai, sansFin,
                       deluge, lignesMax, pourcentPrix, tls, statut});
    parser.addPositionalArgument(QStringLiteral("KEY"), QStringLiteral("The key after --tls CERT."),
                                 QStringLiteral("[KEY]"));
    parser.process(app);

    SimulateurPharmaML sim;
    OptionsSimulateur &o = sim.options();
    for (const QString &c : parser.values(compte)) {
        const qsizetype deuxPoints = c.indexOf(u':');
        if (deuxPoints <= 0) {
            std::fprintf(stderr, "pharmaml-sim: --account takes client:key\n");
            return 2;
        }
        o.comptes.insert(c.left(deuxPoints), c.mid(deuxPoints + 1));
    }
    if (parser.isSet(refus))
        o.reponse = OptionsSimulateur::Reponse::Refus401;
    else if (parser.isSet(finService))
        o.reponse = OptionsSimulateur::Reponse::FinService;
    else if (parser.isSet(erreur)) {
        o.reponse = OptionsSimulateur::Reponse::Erreur;
        o.detailErreur = parser.value(erreur);
    }
    for (const QString &s : parser.values(statut)) {
        const qsizetype egal = s.lastIndexOf(u'=');
        const int code = s.mid(egal + 1).toInt();
        if (egal <= 0 || code < 100 || code > 999) {
            std::fprintf(stderr, "pharmaml-sim: --status takes path=status\n");
            return 2;
        }
        o.statutsParChemin.insert(s.left(egal), code);
    }
    o.tailleChunk = parser.value(chunked).toInt();
    o.morceau = parser.value(morceau).toInt();
    o.coupeEntetesEtFin = parser.isSet(coupe);
    o.delaiMs = parser.value(delai).toInt();
    o.sansFin = parser.isSet(sansFin);
    o.deluge = parser.isSet(deluge);
    o.lignesMax = parser.value(lignesMax).toInt();
    o.pourcentPrix = parser.value(pourcentPrix).toInt();
    if (o.pourcentPrix <= 0) {
        std::fprintf(stderr, "pharmaml-sim: --price-percent takes a positive number\n");
        return 2;
    }

    if (parser.isSet(tls) && (parser.positionalArguments().size() != 1 ||
                              !sim.chiffre(parser.value(tls), parser.positionalArguments().first()))) {
        std::fprintf(stderr, "pharmaml-sim: --tls takes a PEM certificate and a PEM key it can read\n");
        return 2;
    }
    bool portLu = false;
    const uint numero = parser.value(port).toUInt(&portLu);
    if (!portLu || numero > 65535 || !sim.ecoute(quint16(numero))) {
        std::fprintf(stderr, "pharmaml-sim: cannot listen on 127.0.0.1 port %s\n",
                     qPrintable(parser.value(port)));
        return 1;
    }
    QTextStream out(stdout);
    out << sim.port() << Qt::endl;
    out << "pharmaml-sim: Pharma-ML wholesaler on " << (parser.isSet(tls) ? "https" : "http")
        << "://127.0.0.1:" << sim.port() << "/ (any path); pages /Infos.php?ADL=... and /solvarin.php"
        << Qt::endl;
    for (const Catalogue::Produit &p : Catalogue::produits()) {
        const Catalogue::QuandEtQuoi q = Catalogue::quandEtQuoi(p.cip).value_or(Catalogue::QuandEtQuoi());
        out << "  " << p.cip << "  " << p.designation
            << (p.disponible              ? QStringLiteral("  DISPO")
                : p.codeReponse.isEmpty() ? QStringLiteral("  AUTRE")
                                          : QStringLiteral("  NON_DISPO ") + p.codeReponse)
            << (q.retourDansJours > 0 ? QStringLiteral(", back in %1 days").arg(q.retourDansJours)
                                      : QString())
            << (q.codeRemplacant.isEmpty()
                    ? QString()
                    : QStringLiteral(", replaced (%1) by %2").arg(q.typeRemplacement, q.codeRemplacant))
            << Qt::endl;
    }
    out << "  " << QString::fromUtf16(Catalogue::codeInconnu) << "  (unknown product, NON_DISPO 0001)"
        << Qt::endl;
    QObject::connect(&sim, &SimulateurPharmaML::journal, &sim,
                     [&out](const QString &ligne) { out << ligne << Qt::endl; });
    return app.exec();
}
