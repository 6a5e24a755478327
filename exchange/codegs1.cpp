#include "codegs1.h"

#include "codeproduit.h"

#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace {

struct Element {
    QStringView ai;
    QStringView valeur;
};

const std::array<QStringView, 4> ais{u"01", u"17", u"10", u"21"};

// The fixed length of an element's data, 0 for a variable one; nothing for an AI this reader ignores.
std::optional<qsizetype> longueurFixe(QStringView ai)
{
    if (ai == u"01")
        return 14;
    if (ai == u"17")
        return 6;
    if (ai == u"10" || ai == u"21")
        return 0;
    return std::nullopt;
}

// "(AI)data(AI)data...": the parentheses delimit every element.
std::optional<CodeGs1::Erreur> elementsImprimes(QStringView reste, QList<Element> &elements)
{
    while (!reste.isEmpty()) {
        const qsizetype ferme = reste.indexOf(u')');
        if (!reste.startsWith(u'(') || ferme < 0)
            return CodeGs1::Erreur::Incomplet;
        const QStringView ai = reste.mid(1, ferme - 1);
        reste = reste.mid(ferme + 1);
        const qsizetype suivant = reste.indexOf(u'(');
        elements.append({ai, reste.left(suivant < 0 ? reste.size() : suivant)});
        reste = suivant < 0 ? QStringView() : reste.mid(suivant);
    }
    return std::nullopt;
}

// The string as a scanner types it: fixed lengths known, variable data up to the separator. An AI this
// reader does not know ends the reading, since its data cannot be delimited.
std::optional<CodeGs1::Erreur> elementsBruts(QStringView reste, QList<Element> &elements)
{
    while (!reste.isEmpty()) {
        if (reste.front() == CodeGs1::separateur) {
            reste = reste.mid(1);
            continue;
        }
        if (reste.size() < 2)
            return CodeGs1::Erreur::Incomplet;
        const QStringView ai = reste.left(2);
        const std::optional<qsizetype> fixe = longueurFixe(ai);
        if (!fixe)
            return std::nullopt;
        reste = reste.mid(2);
        qsizetype longueur = *fixe;
        if (longueur == 0) {
            const qsizetype fin = reste.indexOf(CodeGs1::separateur);
            longueur = fin < 0 ? reste.size() : fin;
        } else if (reste.size() < longueur || reste.left(longueur).contains(CodeGs1::separateur)) {
            return CodeGs1::Erreur::Incomplet;
        }
        elements.append({ai, reste.left(longueur)});
        reste = reste.mid(longueur);
    }
    return std::nullopt;
}

// YYMMDD of the years 2000 to 2099; day 00 is the month's last day.
QDate datePeremption(QStringView valeur)
{
    if (valeur.size() != 6 || !CodeProduit::chiffresSeuls(valeur))
        return {};
    const int annee = 2000 + valeur.left(2).toInt();
    const int mois = valeur.mid(2, 2).toInt();
    const int jour = valeur.mid(4, 2).toInt();
    if (jour == 0 && mois >= 1 && mois <= 12)
        return QDate(annee, mois, 1).addMonths(1).addDays(-1);
    return QDate(annee, mois, jour);
}

CodeGs1::Lecture echec(CodeGs1::Erreur erreur)
{
    CodeGs1::Lecture l;
    l.erreur = erreur;
    return l;
}

} // namespace

namespace CodeGs1 {

bool estCodeGs1(QStringView texte)
{
    if (texte.startsWith(u']') || texte.startsWith(u'(') || texte.contains(separateur))
        return true;
    static const QRegularExpression brut(QStringLiteral(R"(^(?:01\d{14}|17\d{6}(?:01|10|21)))"));
    return texte.size() > 13 && brut.match(texte.toString()).hasMatch();
}

bool peutDevenirCodeGs1(QStringView debut)
{
    if (debut.startsWith(u']') || debut.startsWith(u'(') || debut.startsWith(separateur))
        return true;
    return debut.size() >= 2 && std::find(ais.begin(), ais.end(), debut.left(2)) != ais.end();
}

Lecture lis(QStringView texte)
{
    if (texte.size() > longueurMax)
        return echec(Erreur::TropLong);
    QStringView reste = texte;
    if (reste.startsWith(u']')) {
        if (reste.size() < 3)
            return echec(Erreur::Incomplet);
        reste = reste.mid(3);
    }
    // Some scanners send the leading FNC1 as a separator.
    if (reste.startsWith(separateur))
        reste = reste.mid(1);
    QList<Element> elements;
    const std::optional<Erreur> decoupe =
        reste.startsWith(u'(') ? elementsImprimes(reste, elements) : elementsBruts(reste, elements);
    if (decoupe)
        return echec(*decoupe);

    Lecture lecture;
    bool gtin = false;
    for (const Element &e : std::as_const(elements)) {
        if (e.ai == u"01" && !gtin) {
            gtin = true;
            // A GTIN-14 that is a box's CIP13 is that code with a 0 in front.
            if (e.valeur.size() != 14 || !e.valeur.startsWith(u'0') ||
                !CodeProduit::estEan13Valide(e.valeur.mid(1)))
                return echec(Erreur::PasDeCip13);
            lecture.cip13 = e.valeur.mid(1).toString();
        } else if (e.ai == u"17" && lecture.peremption.isNull()) {
            lecture.peremption = datePeremption(e.valeur);
            if (lecture.peremption.isNull())
                return echec(Erreur::PeremptionInvalide);
        } else if (e.ai == u"10" && lecture.lot.isEmpty()) {
            lecture.lot = e.valeur.toString();
        } else if (e.ai == u"21" && lecture.serie.isEmpty()) {
            lecture.serie = e.valeur.toString();
        }
    }
    if (!gtin)
        return echec(Erreur::PasDeCip13);
    return lecture;
}

QString message(Erreur erreur)
{
    switch (erreur) {
    case Erreur::TropLong:
        return QStringLiteral("Code 2D non reconnu : plus de 100 caractères !");
    case Erreur::Incomplet:
        return QStringLiteral("Code 2D incomplet : scannez la boîte à nouveau !");
    case Erreur::PeremptionInvalide:
        return QStringLiteral("Code 2D non reconnu : date de péremption invalide !");
    case Erreur::PasDeCip13:
        break;
    }
    return QStringLiteral("Code 2D non reconnu : pas de code CIP13 !");
}

} // namespace CodeGs1
