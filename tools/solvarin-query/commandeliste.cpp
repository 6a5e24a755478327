#include "commandeliste.h"

#include "classeurliste.h"
#include "complementsligne.h"
#include "comptes.h"
#include "dossierparametres.h"
#include "fichierini.h"
#include "historique.h"
#include "lectureliste.h"
#include "modpharmaml.h"
#include "releve.h"
#include "tableauliste.h"
#include "verificationliste.h"
#include "zonetexte.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

QString statut(const ReponseCode &reponse)
{
    switch (reponse.etat) {
    case ReponseCode::Etat::Repondue:
        switch (reponse.ligne.disponibilite) {
        case Disponibilite::Disponible:
            return QStringLiteral("DISPONIBLE");
        case Disponibilite::NonDisponible:
            return QStringLiteral("NON DISPONIBLE");
        case Disponibilite::Autre:
            return QStringLiteral("AUTRE");
        }
        break;
    case ReponseCode::Etat::Echec:
        return QStringLiteral("ERREUR");
    default:
        break;
    }
    return QStringLiteral("ABSENT");
}

// "2025-02-08", then "T14:30" when a time is given; "" without a valid date.
QString datePrevue(const RetourPrevu &retour)
{
    if (!retour.date.isValid())
        return {};
    const QString date = retour.date.toString(Qt::ISODate);
    return retour.heure.isEmpty() ? date : date + u'T' + retour.heure;
}

QString ligneSortie(const QString &code, const ReponsesCompte &compte)
{
    const ReponseCode reponse = compte.parCode.value(code);
    QString codeReponse = reponse.ligne.codeReponse;
    const Remplacant &remplacant = reponse.ligne.remplacant;
    const QStringList champs{code,
                             QString::number(compte.numero),
                             statut(reponse),
                             ModPharmaML::PML_SupprimeZeros(codeReponse),
                             reponse.ligne.designation,
                             Releve::prix(reponse.ligne.prix),
                             TableauListe::motif(compte, reponse),
                             datePrevue(reponse.ligne.retourPrevu),
                             reponse.ligne.retourPrevu.quantite,
                             remplacant.codeProduit,
                             remplacant.designation,
                             ComplementsLigne::genreRemplacement(remplacant.typeRemplacement).isEmpty()
                                 ? QString()
                                 : remplacant.typeRemplacement,
                             Releve::prix(remplacant.prix),
                             reponse.ligne.commentaire};
    QStringList echappes;
    for (const QString &c : champs)
        echappes << echappeSortie(c);
    return echappes.join(u'\t');
}

// The printed lines, and what each account answered.
std::pair<QStringList, QList<ReponsesCompte>> verifieListe(const QList<LigneListe> &lignes,
                                                           std::chrono::milliseconds delai)
{
    VerificationListe verification;
    verification.setDelaiAttente(delai);
    QEventLoop boucle;
    QObject::connect(&verification, &VerificationListe::terminee, &boucle, &QEventLoop::quit);
    QObject::connect(&verification, &VerificationListe::reponses,
                     [&verification](int k, const QStringList &codes) {
                         Historique::enregistreListe(ReponseEnregistree::Source::Console,
                                                     verification.comptes()[k], codes);
                     });
    verification.lance(lignes, Comptes::complets());
    boucle.exec();

    // In the list's own order, as the window shows it.
    QStringList codes;
    for (const LigneListe &l : lignes) {
        if (l.valide() && !codes.contains(l.code))
            codes << l.code;
    }
    QStringList sortie;
    for (const QString &code : std::as_const(codes)) {
        for (const ReponsesCompte &compte : verification.comptes())
            sortie << ligneSortie(code, compte);
    }
    return {sortie, verification.comptes()};
}

} // namespace

int commandeListe(const QStringList &arguments, std::chrono::milliseconds delai)
{
    // The first argument is the folder when it names one or reads as a path; a code never does.
    const QString premier = arguments.value(0);
    const bool avecDossier = QFileInfo(premier).isDir() || premier.contains(u'/');
    QStringList codes = arguments.mid(avecDossier ? 1 : 0);
    const bool avecClasseur = codes.value(0) == QLatin1String("--xlsx");
    const QString classeur = avecClasseur ? codes.value(1) : QString();
    if (avecClasseur)
        codes = codes.mid(2);
    if ((avecDossier && !QFileInfo(premier).isDir()) || (avecClasseur && classeur.isEmpty())) {
        std::fprintf(stderr, "usage: solvarin-query --liste [DIR] [--xlsx FILE] [CODE[,QTY]...]\n");
        return 2;
    }
    const QString repertoire = avecDossier
                                   ? QDir(premier).absolutePath()
                                   : DossierParametres::etablis(QCoreApplication::applicationDirPath());
    QString texte = codes.join(u'\n');
    if (codes.isEmpty()) {
        QFile entree;
        if (entree.open(stdin, QIODevice::ReadOnly))
            texte = LectureListe::texteDesOctets(entree.readAll());
    }
    QList<LigneListe> lignes;
    LectureListe::ajoute(lignes, LectureListe::lis(texte));
    for (const LigneListe &l : std::as_const(lignes)) {
        if (!l.valide())
            std::fprintf(stderr, "solvarin-query: no product code in \"%s\"\n", qPrintable(l.texte));
    }

    FichierINI::setRepertoireProgramme(repertoire);
    if (Comptes::complets().isEmpty()) {
        std::fprintf(stderr, "solvarin-query: no complete account in %s\n",
                     qPrintable(QDir(repertoire).filePath(QStringLiteral("Solvarin.ini"))));
        return 1;
    }
    const auto [sortie, comptes] = verifieListe(lignes, delai);
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString &ligne : sortie)
        out << ligne << '\n';
    out.flush();
    bool toutRepondu = true;
    for (const ReponsesCompte &compte : comptes)
        toutRepondu = toutRepondu && compte.echec.isEmpty();
    if (avecClasseur) {
        if (const QString erreur = ClasseurListe::ecrit(classeur, lignes, comptes); !erreur.isEmpty()) {
            std::fprintf(stderr, "solvarin-query: %s: %s\n", qPrintable(classeur), qPrintable(erreur));
            return 1;
        }
    }
    return toutRepondu ? 0 : 1;
}
