#pragma once

#include "colonnescompte.h"
#include "lectureliste.h"
#include "verificationliste.h"

#include <QAbstractTableModel>

// The list window's table: code, quantity, designation; per account the columns of ColonnesCompte, its
// state as a coloured cell (its wholesaler's name as title); with two accounts, the one that has the
// product available at the lower purchase price. Answers are kept by code, so that lines
// added after a check keep the answers of the others.
class ModeleListe : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int colonneCode = 0;
    static constexpr int colonneQuantite = 1;
    static constexpr int colonneDesignation = 2;
    static constexpr int colonnesParCompte = int(ColonnesCompte::champs.size());

    using QAbstractTableModel::QAbstractTableModel;

    const QList<LigneListe> &lignes() const { return m_lignes; }
    void setLignes(const QList<LigneListe> &lignes);
    const QList<ReponsesCompte> &comptes() const { return m_comptes; }
    // The accounts a check is about to ask (their answers empty) or has asked; the columns are made
    // anew (modelReset) only when their number changes.
    void setComptes(const QList<ReponsesCompte> &comptes);
    // Account k (position in comptes()) has answered for those codes.
    void setCompte(int k, const ReponsesCompte &compte, const QStringList &codes);

    // The state column of account k, its column of a field, and the cheaper-account column (-1 with
    // fewer than two accounts).
    static int colonneEtat(int k) { return colonneDesignation + 1 + k * colonnesParCompte; }
    static int colonne(int k, ColonnesCompte::Champ champ) { return colonneEtat(k) + int(champ); }
    int colonneMoinsCher() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant donneeCompte(const LigneListe &ligne, int k, ColonnesCompte::Champ champ, int role) const;

    QList<LigneListe> m_lignes;
    QHash<QString, int> m_rangees; // the row of each code
    QList<ReponsesCompte> m_comptes;
};
