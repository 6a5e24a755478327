#include "modeleliste.h"

#include "modpharmaml.h"
#include "tableauliste.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QStyle>

namespace {

using ColonnesCompte::Champ;

} // namespace

void ModeleListe::setLignes(const QList<LigneListe> &lignes)
{
    // Rows go and come rather than a reset, so that the columns keep the widths the user gave them.
    if (!m_lignes.isEmpty()) {
        beginRemoveRows({}, 0, rowCount() - 1);
        m_lignes.clear();
        endRemoveRows();
    }
    m_rangees.clear();
    if (!lignes.isEmpty()) {
        beginInsertRows({}, 0, int(lignes.size()) - 1);
        m_lignes = lignes;
        for (int r = 0; r < int(lignes.size()); ++r) {
            if (lignes[r].valide())
                m_rangees.insert(lignes[r].code, r);
        }
        endInsertRows();
    }
}

void ModeleListe::setComptes(const QList<ReponsesCompte> &comptes)
{
    if (comptes.size() != m_comptes.size()) {
        beginResetModel();
        m_comptes = comptes;
        endResetModel();
        return;
    }
    m_comptes = comptes;
    // Without an account there is no account column to tell about.
    if (!m_comptes.isEmpty())
        emit headerDataChanged(Qt::Horizontal, colonneEtat(0), columnCount() - 1);
    if (!m_lignes.isEmpty())
        emit dataChanged(index(0, colonneDesignation), index(rowCount() - 1, columnCount() - 1));
}

void ModeleListe::setCompte(int k, const ReponsesCompte &compte, const QStringList &codes)
{
    const bool entete = compte.echec != m_comptes[k].echec || compte.secours != m_comptes[k].secours;
    m_comptes[k] = compte;
    // Only the rows of those codes change: the table repaints what it shows of them, if anything.
    int premiere = rowCount();
    int derniere = -1;
    for (const QString &code : codes) {
        const auto rangee = m_rangees.constFind(code);
        if (rangee != m_rangees.cend()) {
            premiere = std::min(premiere, *rangee);
            derniere = std::max(derniere, *rangee);
        }
    }
    if (derniere >= 0)
        emit dataChanged(index(premiere, colonneDesignation), index(derniere, columnCount() - 1));
    if (entete)
        emit headerDataChanged(Qt::Horizontal, colonneEtat(k), colonneEtat(k));
}

int ModeleListe::colonneMoinsCher() const
{
    return m_comptes.size() == 2 ? colonneEtat(2) : -1;
}

int ModeleListe::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lignes.size());
}

int ModeleListe::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : colonneEtat(int(m_comptes.size())) + (m_comptes.size() == 2 ? 1 : 0);
}

QVariant ModeleListe::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lignes.size())
        return {};
    const LigneListe &ligne = m_lignes[index.row()];
    const int colonne = index.column();
    if (!ligne.valide()) {
        if (role == Qt::DisplayRole && colonne == colonneCode)
            return ligne.texte;
        if (role == Qt::DisplayRole && colonne == colonneDesignation)
            return QStringLiteral("Pas de code CIP valide sur cette ligne : non envoyée");
        if (role == Qt::ForegroundRole)
            return QColor(0xB0, 0x00, 0x00);
        return {};
    }
    if (colonne == colonneCode)
        return role == Qt::DisplayRole ? QVariant(ligne.code) : QVariant();
    if (colonne == colonneQuantite) {
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return role == Qt::DisplayRole ? QVariant(ligne.quantite) : QVariant();
    }
    if (colonne == colonneDesignation) {
        // Elided when the column is narrow: the tooltip gives it whole.
        return role == Qt::DisplayRole || role == Qt::ToolTipRole
                   ? QVariant(TableauListe::designation(m_comptes, ligne.code))
                   : QVariant();
    }
    if (colonne == colonneMoinsCher()) {
        const std::optional<ReponseListe::Comparaison> c = TableauListe::comparePrix(m_comptes, ligne.code);
        if (role == Qt::DisplayRole && c)
            return m_comptes[c->moinsCher].nom;
        if (role == Qt::ToolTipRole && c) {
            QString montant;
            return QStringLiteral("Comparé sur ") + c->nature + QStringLiteral(" (") +
                   ModPharmaML::PML_LibellePrix(c->nature, montant).remove(QStringLiteral(" = ")) + u')';
        }
        if (role == Qt::FontRole) {
            QFont gras;
            gras.setBold(true);
            return gras;
        }
        return {};
    }
    const int k = (colonne - colonneEtat(0)) / colonnesParCompte;
    const Champ champ = ColonnesCompte::champs[size_t((colonne - colonneEtat(0)) % colonnesParCompte)];
    return donneeCompte(ligne, k, champ, role);
}

QVariant ModeleListe::donneeCompte(const LigneListe &ligne, int k, Champ champ, int role) const
{
    const auto it = m_comptes[k].parCode.constFind(ligne.code);
    if (it == m_comptes[k].parCode.cend())
        return {};
    const ReponseCode &reponse = *it;
    switch (role) {
    case Qt::DisplayRole:
        return ColonnesCompte::texte(champ, reponse);
    case Qt::BackgroundRole:
        return champ == Champ::Etat ? QVariant(QColor::fromRgb(TableauListe::couleurEtat(reponse)))
                                    : QVariant();
    case Qt::ToolTipRole: {
        QString infobulle = ColonnesCompte::infobulle(champ, reponse);
        if (champ == Champ::Motif && reponse.etat == ReponseCode::Etat::Repondue) {
            // The reason whole, as the column may elide it, then the remarks.
            const QString motif = ColonnesCompte::texte(champ, reponse);
            infobulle =
                motif.isEmpty() || infobulle.isEmpty() ? motif + infobulle : motif + u'\n' + infobulle;
        }
        return infobulle.isEmpty() ? QVariant() : QVariant(infobulle);
    }
    case Qt::TextAlignmentRole:
        return champ == Champ::Prix ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default:
        return {};
    }
}

QVariant ModeleListe::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < colonneEtat(0)) {
        static const QStringList titres{QStringLiteral("Code"), QStringLiteral("Qté"),
                                        QStringLiteral("Désignation")};
        return role == Qt::DisplayRole ? QVariant(titres.value(section)) : QVariant();
    }
    if (section == colonneMoinsCher()) {
        if (role == Qt::ToolTipRole)
            return QStringLiteral(
                "Le répartiteur qui l'a disponible au prix d'achat le plus bas (NETHT, sinon "
                "PHAHT), quand les deux l'ont");
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("Moins cher")) : QVariant();
    }
    const int k = (section - colonneEtat(0)) / colonnesParCompte;
    const Champ champ = ColonnesCompte::champs[size_t((section - colonneEtat(0)) % colonnesParCompte)];
    const ReponsesCompte &compte = m_comptes.value(k);
    if (role == Qt::DisplayRole)
        return ColonnesCompte::titre(champ, compte);
    if (champ != Champ::Etat)
        return {};
    // A failed exchange says why once, here, and not on every line.
    if (role == Qt::ToolTipRole && !compte.echec.isEmpty())
        return compte.echec;
    if (role == Qt::ToolTipRole && compte.secours)
        return QStringLiteral("(adresse de secours)");
    if (role == Qt::DecorationRole && !compte.echec.isEmpty())
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    return {};
}
