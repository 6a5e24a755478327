#include "tableauliste.h"

#include "colonnescompte.h"

#include <QRegularExpression>

namespace {

const ReponseCode *repondue(const ReponsesCompte &compte, const QString &code)
{
    const auto it = compte.parCode.constFind(code);
    return it != compte.parCode.cend() && it->etat == ReponseCode::Etat::Repondue ? &*it : nullptr;
}

// A field between double quotes when it holds one, a separator or a line break. A text that a
// spreadsheet would take for a formula starts with an apostrophe.
QString champ(QString texte)
{
    if (!texte.isEmpty() && QStringView(u"=+-@").contains(texte.front()))
        texte.prepend(u'\'');
    if (texte.contains(u';') || texte.contains(u'"') || texte.contains(u'\n') || texte.contains(u'\r'))
        texte = u'"' + texte.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return texte;
}

// An amount received, in French; a number for a workbook when it is a plain decimal number.
CelluleTableau montant(const QString &valeur)
{
    const QString francais = ReponseListe::montant(valeur);
    static const QRegularExpression nombre(QStringLiteral(R"(^\d+,\d+$)"));
    return {francais,
            nombre.match(francais).hasMatch() ? CelluleTableau::Genre::Montant : CelluleTableau::Genre::Texte,
            {}};
}

// The price natures an account gave, in the order they first came.
QStringList natures(const ReponsesCompte &compte, const QList<LigneListe> &lignes)
{
    QStringList vues;
    for (const LigneListe &l : lignes) {
        if (const ReponseCode *r = l.valide() ? repondue(compte, l.code) : nullptr) {
            for (const PrixLigne &p : r->ligne.prix) {
                if (!vues.contains(p.nature))
                    vues.append(p.nature);
            }
        }
    }
    return vues;
}

} // namespace

namespace TableauListe {

QString etat(const ReponseCode &reponse)
{
    switch (reponse.etat) {
    case ReponseCode::Etat::Repondue:
        switch (reponse.ligne.disponibilite) {
        case Disponibilite::Disponible:
            return QStringLiteral("Disponible");
        case Disponibilite::NonDisponible:
            return QStringLiteral("Non disponible");
        case Disponibilite::Autre:
            return QStringLiteral("Autre réponse");
        }
        break;
    case ReponseCode::Etat::Absente:
        return QStringLiteral("Absent de la réponse");
    case ReponseCode::Etat::Echec:
        return QStringLiteral("Erreur");
    case ReponseCode::Etat::Annulee:
        return QStringLiteral("Annulé");
    case ReponseCode::Etat::Attente:
        break;
    }
    return QStringLiteral("En attente");
}

quint32 couleurDisponibilite(std::optional<Disponibilite> disponibilite)
{
    if (!disponibilite)
        return 0xC8C8C8;
    switch (*disponibilite) {
    case Disponibilite::Disponible:
        return 0x7CD96C;
    case Disponibilite::NonDisponible:
        return 0xF06E64;
    case Disponibilite::Autre:
        break;
    }
    return 0xFFB040;
}

quint32 couleurEtat(const ReponseCode &reponse)
{
    return couleurDisponibilite(reponse.etat == ReponseCode::Etat::Repondue
                                    ? std::optional(reponse.ligne.disponibilite)
                                    : std::nullopt);
}

QString designation(const QList<ReponsesCompte> &comptes, const QString &code)
{
    for (const ReponsesCompte &compte : comptes) {
        const ReponseCode *r = repondue(compte, code);
        if (r && !r->ligne.designation.isEmpty())
            return r->ligne.designation;
    }
    return {};
}

std::optional<ReponseListe::Comparaison> comparePrix(const QList<ReponsesCompte> &comptes,
                                                     const QString &code)
{
    if (comptes.size() != 2)
        return std::nullopt;
    const ReponseCode *a = repondue(comptes[0], code);
    const ReponseCode *b = repondue(comptes[1], code);
    return a && b ? ReponseListe::comparePrix(a->ligne, b->ligne) : std::nullopt;
}

std::optional<int> moinsCher(const QList<ReponsesCompte> &comptes, const QString &code)
{
    const std::optional<ReponseListe::Comparaison> c = comparePrix(comptes, code);
    return c ? std::optional(c->moinsCher) : std::nullopt;
}

QString motifLigne(const ReponseCode &reponse)
{
    if (reponse.autreProduit)
        return QStringLiteral("Réponse pour un autre produit : ") + *reponse.autreProduit;
    return ReponseListe::motif(reponse.ligne);
}

QString motif(const ReponsesCompte &compte, const ReponseCode &reponse)
{
    return reponse.etat == ReponseCode::Etat::Echec ? compte.echec : motifLigne(reponse);
}

QList<QList<CelluleTableau>> rangees(const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes)
{
    using ColonnesCompte::Champ;
    const auto texte = [](const QString &t) { return CelluleTableau{t, CelluleTableau::Genre::Texte, {}}; };
    QList<QStringList> naturesParCompte;
    QList<CelluleTableau> entete{texte(QStringLiteral("Code")), texte(QStringLiteral("Quantité")),
                                 texte(QStringLiteral("Désignation"))};
    for (const ReponsesCompte &compte : comptes) {
        naturesParCompte.append(natures(compte, lignes));
        for (const Champ champ : ColonnesCompte::champs) {
            if (champ == Champ::Etat)
                entete << texte(compte.nom);
            else if (champ == Champ::Prix)
                for (const QString &nature : std::as_const(naturesParCompte.last()))
                    entete << texte(compte.nom + u' ' + nature);
            else
                entete << texte(compte.nom + u' ' + ColonnesCompte::titre(champ, compte).toLower());
        }
    }
    if (comptes.size() == 2)
        entete << texte(QStringLiteral("Moins cher"));
    entete << texte(QStringLiteral("Ligne refusée"));

    QList<QList<CelluleTableau>> tableau{entete};
    for (const LigneListe &l : lignes) {
        QList<CelluleTableau> rangee;
        if (!l.valide()) {
            // Its own column, so that no text lands where a code or a price is expected; on one line.
            rangee.resize(entete.size() - 1);
            static const QRegularExpression blancs(QStringLiteral("[\\t\\r\\n\\x{2028}\\x{2029}]"));
            rangee << texte(QString(l.texte).replace(blancs, QStringLiteral(" ")));
            tableau.append(rangee);
            continue;
        }
        rangee << texte(l.code)
               << CelluleTableau{QString::number(l.quantite), CelluleTableau::Genre::Entier, {}}
               << texte(designation(comptes, l.code));
        for (qsizetype k = 0; k < comptes.size(); ++k) {
            const ReponseCode reponse = comptes[k].parCode.value(l.code);
            for (const Champ champ : ColonnesCompte::champs) {
                switch (champ) {
                case Champ::Etat:
                    rangee << CelluleTableau{etat(reponse), CelluleTableau::Genre::Texte,
                                             couleurEtat(reponse)};
                    break;
                case Champ::Prix:
                    for (const QString &nature : std::as_const(naturesParCompte[k])) {
                        CelluleTableau cellule;
                        for (const PrixLigne &p : reponse.ligne.prix) {
                            if (p.nature == nature) {
                                cellule = montant(p.valeur);
                                break;
                            }
                        }
                        rangee << cellule;
                    }
                    break;
                case Champ::Motif:
                    rangee << texte(motif(comptes[k], reponse));
                    break;
                case Champ::RetourPrevu:
                case Champ::Remplacant:
                    rangee << texte(ColonnesCompte::texte(champ, reponse));
                    break;
                }
            }
        }
        if (comptes.size() == 2) {
            const std::optional<int> k = moinsCher(comptes, l.code);
            rangee << texte(k ? comptes[*k].nom : QString());
        }
        rangee << CelluleTableau();
        tableau.append(rangee);
    }
    return tableau;
}

QByteArray csv(const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes)
{
    QList<QStringList> textes;
    for (const QList<CelluleTableau> &rangee : rangees(lignes, comptes)) {
        QStringList t;
        for (const CelluleTableau &c : rangee)
            t << c.texte;
        textes << t;
    }
    return csvDeRangees(textes);
}

QByteArray csvDeRangees(const QList<QStringList> &rangees)
{
    QString texte;
    for (const QStringList &rangee : rangees) {
        QStringList champs;
        for (const QString &c : rangee)
            champs << champ(c);
        texte += champs.join(u';') + QStringLiteral("\r\n");
    }
    return "\xEF\xBB\xBF" + texte.toUtf8();
}

} // namespace TableauListe
