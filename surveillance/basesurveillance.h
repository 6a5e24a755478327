#pragma once

#include "basehistorique.h"
#include "produitsurveille.h"

#include <QDateTime>
#include <QList>

#include <chrono>
#include <optional>

// The watch list and its rounds' state, kept in the history's database so that the counters sharing
// one database share them too. Used from the thread that opened it; every failure returns its reason
// (empty when done).
class BaseSurveillance {
public:
    explicit BaseSurveillance(ParametresHistorique parametres);

    // Opens (creating or migrating) the database; empty when done, else why not.
    QString ouvre();
    bool ouverte() const { return m_base.ouverte(); }

    // Adds the product if it is not watched yet (a designation fills an empty one).
    QString ajoute(const QString &code, const QString &designation, const QDateTime &maintenant);
    QString retire(const QString &code);
    // The watched products in code order; nothing after a failure (`erreur` says why).
    std::optional<QList<ProduitSurveille>> produits(QString *erreur = nullptr);

    // What one account said of one product; a designation, when not empty, replaces the product's.
    struct MiseAJour {
        QString code;
        qint16 compte = 0;
        EtatCompte etat;
        QString designation;
    };
    // Stores the answers in one transaction and stamps their products as asked.
    QString enregistre(const QList<MiseAJour> &misesAJour);

    // Takes the round for the whole pharmacy when none was taken less than `intervalle` ago (or
    // always, `force`): true for the one counter that got it.
    bool prendTour(const QDateTime &maintenant, std::chrono::seconds intervalle, bool force,
                   QString *erreur = nullptr);

    // Account n is not asked before `jusqua` (an end of service until the next opening).
    QString pause(qint16 n, const QDateTime &jusqua);
    // The accounts paused at that moment.
    QList<qint16> enPause(const QDateTime &maintenant, QString *erreur = nullptr);

private:
    QString raison(const class QSqlQuery &q) const;

    BaseHistorique m_base;
};
