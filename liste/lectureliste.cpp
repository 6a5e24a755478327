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
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <utility>

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

// A cell that is a product code: 7 digits, or 13 with their EAN-13 check digit. Nothing when the
// cell is no code at all, an empty code when it is 13 digits with a wrong check digit.
std::optional<QString> codeDeCellule(QStringView cellule)
{
    if (!chiffres(cellule) || (cellule.size() != 7 && cellule.size() != 13))
        return std::nullopt;
    return cellule.size() == 7 || CodeProduit::estEan13Valide(cellule) ? cellule.toString() : QString();
}

std::optional<int> quantiteDeCellule(QStringView cellule)
{
    if (chiffres(cellule) && cellule.size() <= 5 && cellule.toInt() >= 1)
        return cellule.toInt();
    return std::nullopt;
}

// A header cell's words without case or accents: "Qté" reads "qte".
QString sansAccents(QStringView cellule)
{
    QString simple;
    for (const QChar c : cellule.toString().normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            simple += c.toLower();
    }
    return simple;
}

// Where a header line puts the code and the quantity; -1 for both when the line is no header.
struct Colonnes {
    qsizetype code = -1;
    qsizetype quantite = -1;
    bool nommees() const { return code >= 0; }
};

Colonnes colonnesEntete(QStringView ligne)
{
    static const QStringList codes{QStringLiteral("code"), QStringLiteral("cip"), QStringLiteral("cip13"),
                                   QStringLiteral("ean")};
    static const QStringList quantites{QStringLiteral("qte"), QStringLiteral("quantite"),
                                       QStringLiteral("qty")};
    qsizetype code = -1;
    qsizetype quantite = -1;
    const QList<QStringView> morceaux = cellules(ligne.trimmed());
    for (qsizetype i = 0; i < morceaux.size(); ++i) {
        const QString nom = sansAccents(morceaux[i]);
        if (code < 0 && codes.contains(nom))
            code = i;
        else if (quantite < 0 && quantites.contains(nom))
            quantite = i;
    }
    if (code < 0 || quantite < 0)
        return {};
    return {code, quantite};
}

LigneListe litLigne(QStringView texte, Colonnes colonnes)
{
    LigneListe ligne;
    ligne.texte = texte.toString();
    const QStringView sansBlancs = texte.trimmed();
    if (CodeGs1::estCodeGs1(sansBlancs)) {
        ligne.code = CodeGs1::lis(sansBlancs).cip13;
        return ligne;
    }
    const QList<QStringView> morceaux = cellules(sansBlancs);
    if (colonnes.nommees()) {
        // The header says where the code and the quantity are: other numbers are prices or doses.
        ligne.code = codeDeCellule(morceaux.value(colonnes.code)).value_or(QString());
        ligne.quantite = quantiteDeCellule(morceaux.value(colonnes.quantite)).value_or(1);
        return ligne;
    }
    qsizetype i = 0;
    std::optional<QString> code;
    while (i < morceaux.size() && !(code = codeDeCellule(morceaux[i])))
        ++i;
    if (!code || code->isEmpty())
        return ligne;
    ligne.code = *code;
    for (++i; i < morceaux.size(); ++i) {
        if (const std::optional<int> quantite = quantiteDeCellule(morceaux[i])) {
            ligne.quantite = *quantite;
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
    Colonnes colonnes;
    bool premiere = true;
    qsizetype debut = 0;
    for (qsizetype i = 0; i <= texte.size(); ++i) {
        if (i < texte.size() && texte[i] != u'\n' && texte[i] != u'\r')
            continue;
        const QStringView ligne = texte.mid(debut, i - debut);
        debut = i + 1;
        if (ligne.trimmed().isEmpty())
            continue;
        if (std::exchange(premiere, false) && (colonnes = colonnesEntete(ligne)).nommees())
            continue;
        lignes.append(litLigne(ligne, colonnes));
    }
    return lignes;
}

void ajoute(QList<LigneListe> &liste, const QList<LigneListe> &lignes)
{
    // A CIP and the CIP13 of the same box are one product: lines are found by the CIP13.
    QHash<QString, qsizetype> parProduit;
    for (qsizetype i = 0; i < liste.size(); ++i) {
        if (liste[i].valide())
            parProduit.insert(CodeProduit::cip13(liste[i].code), i);
    }
    for (const LigneListe &nouvelle : lignes) {
        const auto meme =
            nouvelle.valide() ? parProduit.constFind(CodeProduit::cip13(nouvelle.code)) : parProduit.cend();
        if (meme != parProduit.cend()) {
            LigneListe &ligne = liste[*meme];
            ligne.quantite = std::min(ligne.quantite + nouvelle.quantite, quantiteMax);
            continue;
        }
        if (nouvelle.valide())
            parProduit.insert(CodeProduit::cip13(nouvelle.code), liste.size());
        liste.append(nouvelle);
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
