#pragma once

#include "parametreshistorique.h"
#include "reponseenregistree.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

class QSqlError;

// The history's database, SQLite or PostgreSQL through Qt SQL, used from the thread that made it.
// Every value is bound as a parameter. Messages never hold the password.
class BaseHistorique {
public:
    // Version 1: the answers; 2: each product's last "available" answer; 3: the watch. Each later
    // version adds its step to the migrations.
    static constexpr int versionSchema = 3;

    explicit BaseHistorique(ParametresHistorique parametres);
    ~BaseHistorique();
    BaseHistorique(const BaseHistorique &) = delete;
    BaseHistorique &operator=(const BaseHistorique &) = delete;

    // Opens the database, creating or migrating its schema; empty when done, else why not. A SQLite
    // file that is not a database or is damaged is renamed Solvarin.db.corrompu-YYYYMMDD-hhmmss and a
    // new one started (misDeCote() names it). A file that cannot be written is left as it is.
    QString ouvre();
    bool ouverte() const { return m_ouverte; }
    // The name a damaged file was given by the last ouvre(), or empty.
    const QString &misDeCote() const { return m_misDeCote; }
    int version();

    // Records the answers in one transaction; empty when done, else why not (nothing recorded then).
    QString enregistre(const QList<ReponseEnregistree> &reponses);

    struct Filtre {
        QString code;     // exactly this code asked
        QString texte;    // digits: the start of the code asked; else a part of the designation
        QDateTime depuis; // answers from then on, when valid
        QList<ReponseEnregistree::Etat> etats; // only those, when any
        int limite = 10000;
    };
    // The answers that match, newest first; nothing after a failure (`erreur` says why).
    std::optional<QList<ReponseEnregistree>> cherche(const Filtre &filtre, QString *erreur = nullptr);

    // The products whose missing answers since their last "available" one (from any account) span
    // at least `heures` and come from at least `comptesExiges` accounts, longest missing first.
    std::optional<QList<Rupture>> ruptures(int heures, int comptesExiges, QString *erreur = nullptr);

    // Removes the answers older than `jours` days; empty when done, else why not.
    QString purge(int jours);

    const ParametresHistorique &parametres() const { return m_parametres; }
    // The open connection, for the modules that keep their own tables in the history's database.
    QSqlDatabase connexion() const;
    // A failure in words, without the password.
    QString raison(const QSqlError &erreur) const;

private:
    QString ouvreConnexion();
    QString prepareSchema();
    QString miseDeCoteSiEndommagee();

    ParametresHistorique m_parametres;
    QString m_connexion;
    bool m_ouverte = false;
    QString m_misDeCote;
};
