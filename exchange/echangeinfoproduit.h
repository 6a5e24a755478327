#pragma once

#include "horloge.h"
#include "lignereponse.h"

#include <QObject>

#include <chrono>

// How one REQ_INFO_PRODUIT exchange ended.
struct ResultatEchange {
    enum class Issue {
        Lignes, // a REP_INFO_PRODUIT was decoded: `lignes` holds its lines (possibly none)
        Echec   // anything else: `message` is what the one-product query shows in its result label
    };
    Issue issue = Issue::Echec;
    QList<LigneReponse> lignes;
    QString message;
    bool secours = false; // answered at the account's backup address
};

// One REQ_INFO_PRODUIT exchange with the wholesaler of an account, asynchronous: its own socket and
// state, so that several can run at once without blocking the window.
class EchangeInfoProduit : public QObject {
    Q_OBJECT
public:
    explicit EchangeInfoProduit(QObject *parent = nullptr, Horloge horloge = horlogeSysteme());
    ~EchangeInfoProduit() override;

    // Longest wait for a complete reply, 60 s unless changed.
    void setDelaiAttente(std::chrono::milliseconds delai);

    // Builds the request for `lignes` (items "code,quantity" separated by ";", at most 50) with the
    // settings of account n in Solvarin.ini, writes Trace.xml, sends it. `termine` follows once,
    // later (never from within this call), unless `annule` comes first.
    void lance(const QString &lignes, qint16 n);
    // Closes the connection of an exchange under way; `termine` is not emitted for it.
    void annule();
    bool enCours() const;

    // After `termine`: how the exchange ended.
    const ResultatEchange &resultat() const;

signals:
    void termine();

private:
    struct Etat;
    std::unique_ptr<Etat> m_etat;
};
