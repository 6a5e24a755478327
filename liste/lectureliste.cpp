#include "lectureliste.h"

#include "codegs1.h"
#include "codeproduit.h"
#include "fichierini.h"
#include "fichierliste.h"
#include "remplacefichier.h"
#include "windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace {

bool chiffres(QStringView texte)
{
    return !texte.isEmpty() && CodeProduit::chiffresSeuls(texte);
}

// A CSV cell may come between double quotes.
QStringView sansGuillemets(QStringView cellule)
{
    cellule = cellule.trimmed();
    if (cellule.size() >= 2 && cellule.front() == u'"' && cellule.back() == u'"')
        return cellule.mid(1, cellule.size() - 2).trimmed();
    return cellule;
}

QList<QStringView> cellules(QStringView ligne)
{
    const bool tableur = ligne.contains(u'\t') || ligne.contains(u';');
    QList<QStringView> morceaux;
    qsizetype debut = 0;
    for (qsizetype i = 0; i <= ligne.size(); ++i) {
        const bool fin =
            i == ligne.size() || ligne[i] == u'\t' || ligne[i] == u';' || (!tableur && ligne[i] == u',');
        if (fin) {
            morceaux.append(sansGuillemets(ligne.mid(debut, i - debut)));
            debut = i + 1;
        }
    }
    if (morceaux.size() == 1) {
        morceaux.clear();
        for (QStringView mot : ligne.tokenize(u' ', Qt::SkipEmptyParts))
            morceaux.append(mot.trimmed());
    }
    return morceaux;
}

LigneListe litLigne(QStringView texte)
{
    LigneListe ligne;
    ligne.texte = texte.toString();
    const QStringView sansBlancs = texte.trimmed();
    if (CodeGs1::estCodeGs1(sansBlancs)) {
        ligne.code = CodeGs1::lis(sansBlancs).cip13;
        return ligne;
    }
    const QList<QStringView> morceaux = cellules(sansBlancs);
    qsizetype i = 0;
    while (i < morceaux.size() &&
           !(chiffres(morceaux[i]) && (morceaux[i].size() == 7 || morceaux[i].size() == 13)))
        ++i;
    if (i == morceaux.size())
        return ligne;
    const QStringView code = morceaux[i];
    if (code.size() == 13 && !CodeProduit::estEan13Valide(code))
        return ligne;
    ligne.code = code.toString();
    for (++i; i < morceaux.size(); ++i) {
        if (chiffres(morceaux[i]) && morceaux[i].size() <= 5 && morceaux[i].toInt() >= 1) {
            ligne.quantite = morceaux[i].toInt();
            break;
        }
    }
    return ligne;
}

QString cheminListe()
{
    return QDir(FichierINI::repertoireProgramme()).filePath(QStringLiteral("Liste.txt"));
}

} // namespace

namespace LectureListe {

QList<LigneListe> lis(QStringView texte)
{
    QList<LigneListe> lignes;
    qsizetype debut = 0;
    for (qsizetype i = 0; i <= texte.size(); ++i) {
        if (i < texte.size() && texte[i] != u'\n' && texte[i] != u'\r')
            continue;
        const QStringView ligne = texte.mid(debut, i - debut);
        if (!ligne.trimmed().isEmpty())
            lignes.append(litLigne(ligne));
        debut = i + 1;
    }
    return lignes;
}

void ajoute(QList<LigneListe> &liste, const QList<LigneListe> &lignes)
{
    for (const LigneListe &nouvelle : lignes) {
        const auto meme = std::find_if(liste.begin(), liste.end(), [&nouvelle](const LigneListe &l) {
            return nouvelle.valide() && l.code == nouvelle.code;
        });
        if (meme == liste.end())
            liste.append(nouvelle);
        else
            meme->quantite = std::min(meme->quantite + nouvelle.quantite, quantiteMax);
    }
}

QString texteDesOctets(const QByteArray &octets)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString texte = utf8.decode(octets);
    return utf8.hasError() ? Windows1252::toText(octets) : texte;
}

QList<LigneListe> chargeListe(QString *raison)
{
    const FichierListe fichier = lisFichierListe(cheminListe());
    if (raison)
        *raison = fichier.absent ? QString() : fichier.raison;
    return lis(texteDesOctets(fichier.octets));
}

bool enregistreListe(const QList<LigneListe> &liste, QString *raison)
{
    QByteArray texte;
    for (const LigneListe &l : liste) {
        if (l.valide())
            texte += l.code.toLatin1() + ',' + QByteArray::number(l.quantite) + "\r\n";
    }
    // A folder marked read-only refuses the list as it refuses the settings, even to root.
    const QString chemin = cheminListe();
    const QFileDevice::FileError erreur = accessibleEnEcriture(QFileInfo(QFileInfo(chemin).absolutePath()))
                                              ? remplaceFichier(chemin, texte)
                                              : QFileDevice::PermissionsError;
    if (raison)
        *raison = erreur == QFileDevice::NoError ? QString() : raisonEchec(chemin, erreur, texte.size());
    return erreur == QFileDevice::NoError;
}

} // namespace LectureListe
