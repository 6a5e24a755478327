#include "lectureliste.h"

#include "codeproduit.h"
#include "fichierini.h"
#include "fichierliste.h"
#include "remplacefichier.h"
#include "windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace {

bool chiffres(QStringView texte)
{
    return !texte.isEmpty() &&
           std::all_of(texte.begin(), texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
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

// The CIP13 inside the GTIN of a GS1 element string; nothing when the line is no such string.
std::optional<QString> codeGs1(QStringView ligne)
{
    // Symbology identifier of a Data Matrix or a GS1-128 read by a scanner, and the leading FNC1 some
    // scanners send as a group separator.
    static const QRegularExpression gs1(QStringLiteral(R"(^(?:\][A-Za-z]\d)?\x{1D}?01(\d{14}))"));
    const QRegularExpressionMatch m = gs1.match(ligne.toString());
    if (!m.hasMatch())
        return std::nullopt;
    const QStringView gtin = m.capturedView(1);
    // A GTIN-14 that is a CIP13 of a box is that code with a 0 in front.
    return gtin.front() == u'0' ? gtin.mid(1).toString() : QString();
}

LigneListe litLigne(QStringView texte)
{
    LigneListe ligne;
    ligne.texte = texte.toString();
    const QStringView sansBlancs = texte.trimmed();
    if (const std::optional<QString> gs1 = codeGs1(sansBlancs)) {
        if (CodeProduit::estEan13Valide(*gs1))
            ligne.code = *gs1;
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
