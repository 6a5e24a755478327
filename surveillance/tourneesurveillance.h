#pragma once

#include "parametressurveillance.h"
#include "produitsurveille.h"

#include <QObject>

#include <chrono>
#include <memory>
#include <vector>

class BaseSurveillance;
class VerificationListe;
struct ReponsesCompte;

// One round of the watch: every watched product asked at every account given, 50 to a request and one
// request at a time per account, the accounts side by side. An account is left out while paused by an
// end of service, a product at an account while that account's announced date is ahead. Each answer
// is stored as it comes (so a round cut short loses nothing) and recorded in the history.
class TourneeSurveillance : public QObject {
    Q_OBJECT
public:
    TourneeSurveillance(BaseSurveillance &base, QObject *parent = nullptr);
    ~TourneeSurveillance() override;

    void setDelaiAttente(std::chrono::milliseconds delai) { m_delai = delai; }

    // Starts the round at `maintenant` at accounts `comptes`; `parametres` tell the next opening after
    // an end of service. `terminee` follows, later, even when nothing is to be asked.
    void lance(const QDateTime &maintenant, const ParametresSurveillance &parametres,
               const QList<qint16> &comptes);
    bool enCours() const;
    // The requests sent so far, by account (one per 50 products asked).
    int requetes() const { return m_requetes; }

signals:
    void changement(const Changement &changement);
    // The database failed: the answer is not kept.
    void avertissement(const QString &message);
    void terminee();

private:
    void recoit(const ReponsesCompte &compte, const QStringList &codes);

    BaseSurveillance &m_base;
    std::chrono::milliseconds m_delai{60000};
    QDateTime m_maintenant;
    ParametresSurveillance m_parametres;
    QHash<QString, ProduitSurveille> m_produits;
    std::vector<std::unique_ptr<VerificationListe>> m_verifications;
    int m_requetes = 0;
};
