#include "reponseliste.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <array>

namespace {

const std::array<QStringView, 7> motifs{
    u"Produit inconnu", u"Produit non tenu", u"Produit arrêté",       u"Rupture fabricant",
    u"Manque rayon",    u"Produit retiré",   u"Produit non autorisé",
};

std::optional<double> prixAchat(const LigneReponse &ligne, QStringView nature)
{
    for (const PrixLigne &p : ligne.prix) {
        if (p.nature != nature)
            continue;
        bool ok = false;
        const double valeur = QLocale::c().toDouble(p.valeur.trimmed(), &ok);
        return ok ? std::optional(valeur) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

namespace ReponseListe {

QString motif(const LigneReponse &ligne)
{
    if (ligne.disponibilite == Disponibilite::Disponible)
        return {};
    bool ok = false;
    const int code = ligne.codeReponse.toInt(&ok);
    if (ok && code >= 1 && code <= int(motifs.size()))
        return motifs[size_t(code - 1)].toString();
    return ligne.additif.isEmpty() ? ligne.commentaire : ligne.additif;
}

QString remarques(const LigneReponse &ligne)
{
    QStringList lignes;
    if (!ligne.additif.isEmpty())
        lignes << QStringLiteral("Additif : ") + ligne.additif;
    if (!ligne.commentaire.isEmpty())
        lignes << QStringLiteral("Commentaire : ") + ligne.commentaire;
    if (!ligne.dateEffet.isEmpty()) {
        const QDate date = QDate::fromString(ligne.dateEffet.trimmed(), Qt::ISODate);
        lignes << QStringLiteral("Date d'effet : ") +
                      (date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : ligne.dateEffet);
    }
    return lignes.join(u'\n');
}

QString montant(const QString &valeur)
{
    static const QRegularExpression decimal(QStringLiteral(R"(^\s*(\d*)(?:\.(\d*))?\s*$)"));
    const QRegularExpressionMatch m = decimal.match(valeur);
    if (!m.hasMatch() || m.capturedLength(1) + m.capturedLength(2) == 0)
        return valeur;
    QString entiers = m.captured(1);
    while (entiers.size() > 1 && entiers.front() == u'0')
        entiers.remove(0, 1);
    if (entiers.isEmpty())
        entiers = QStringLiteral("0");
    QString decimales = m.captured(2);
    while (decimales.size() > 2 && decimales.back() == u'0')
        decimales.chop(1);
    return entiers + u',' + decimales.leftJustified(2, u'0');
}

QString prix(const QString &valeur)
{
    return montant(valeur) + QStringLiteral(" €");
}

std::optional<Comparaison> comparePrix(const LigneReponse &a, const LigneReponse &b)
{
    if (a.disponibilite != Disponibilite::Disponible || b.disponibilite != Disponibilite::Disponible)
        return std::nullopt;
    // What the pharmacy pays first; the list price only when a side does not say it.
    for (QStringView nature : {u"NETHT", u"PHAHT"}) {
        const std::optional<double> pa = prixAchat(a, nature);
        const std::optional<double> pb = prixAchat(b, nature);
        if (!pa || !pb)
            continue;
        if (*pa == *pb)
            return std::nullopt;
        return Comparaison{*pa < *pb ? 0 : 1, nature.toString()};
    }
    return std::nullopt;
}

std::optional<int> moinsCher(const LigneReponse &a, const LigneReponse &b)
{
    const std::optional<Comparaison> c = comparePrix(a, b);
    return c ? std::optional(c->moinsCher) : std::nullopt;
}

} // namespace ReponseListe
