#pragma once

#include "lectureliste.h"
#include "reponseliste.h"
#include "verificationliste.h"

#include <optional>

// One cell of the exported table: its text as the CSV writes it, and what a workbook makes of it.
struct CelluleTableau {
    enum class Genre {
        Texte,
        Entier, // the quantity
        Montant // an amount in French ("1,57"): a number with as many decimals
    };
    QString texte;
    Genre genre = Genre::Texte;
    std::optional<quint32> fond; // an availability cell's colour on screen, 0xRRGGBB
};

// The list's table as the window shows it and the exports write it: per line the code, quantity and
// designation, then per account the columns of ColonnesCompte, then the cheaper account.
namespace TableauListe {

// "Disponible", "Non disponible", "Autre réponse", "Absent de la réponse", "Erreur", "Annulé" or
// "En attente".
QString etat(const ReponseCode &reponse);

// The colour of an availability cell, 0xRRGGBB: green available, red not available, orange another
// answer, grey no answer (none).
quint32 couleurDisponibilite(std::optional<Disponibilite> disponibilite);
quint32 couleurEtat(const ReponseCode &reponse);

// The designation the first account that answered for the code gave.
QString designation(const QList<ReponsesCompte> &comptes, const QString &code);

// The position in `comptes` of the account that has the code available at the lower purchase price,
// when there are two accounts, and the nature compared (ReponseListe::comparePrix).
std::optional<ReponseListe::Comparaison> comparePrix(const QList<ReponsesCompte> &comptes,
                                                     const QString &code);
std::optional<int> moinsCher(const QList<ReponsesCompte> &comptes, const QString &code);

// The reason of an answer: "Réponse pour un autre produit : " and its code when the line in the code's
// place was about another product, else ReponseListe::motif.
QString motifLigne(const ReponseCode &reponse);
// The reason an account gives for a code as the CSV and solvarin-query write it: its exchange's failure
// when that is what the code got, else motifLigne.
QString motif(const ReponsesCompte &compte, const ReponseCode &reponse);

// The exported table, its header row first: per account the columns of ColonnesCompte, one column per
// price nature an account gave, amounts with a decimal comma and without currency sign, and last
// "Ligne refusée", where a line without a valid code has its text, tabs and line breaks made blanks.
QList<QList<CelluleTableau>> rangees(const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes);

// The table for a French spreadsheet: UTF-8 with a byte-order mark, ";" between fields, CR LF.
QByteArray csv(const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes);

// Rows of texts written with the same conventions (the first row is the header).
QByteArray csvDeRangees(const QList<QStringList> &rangees);

} // namespace TableauListe
