#pragma once

#include "lectureliste.h"
#include "reponseliste.h"
#include "verificationliste.h"

#include <optional>

// The list's table as the window shows it and the CSV export writes it: per line the code, quantity and
// designation, then per account the state, prices and reason, then the cheaper account.
namespace TableauListe {

// "Disponible", "Non disponible", "Autre réponse", "Absent de la réponse", "Erreur", "Annulé" or
// "En attente".
QString etat(const ReponseCode &reponse);

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

// The whole table for a French spreadsheet: UTF-8 with a byte-order mark, ";" between fields, CR LF,
// the account columns of ColonnesCompte, amounts with a decimal comma and without currency sign, one
// column per price nature an account gave.
// A line without a valid code keeps its text in the code column.
QByteArray csv(const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes);

// Rows of texts written with the same conventions (the first row is the header).
QByteArray csvDeRangees(const QList<QStringList> &rangees);

} // namespace TableauListe
