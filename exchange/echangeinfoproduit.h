#pragma once

#include "compterepartiteur.h"
#include "constructeurrequete.h"
#include "horloge.h"
#include "http.h"
#include "lignereponse.h"

#include <QObject>

#include <chrono>
#include <memory>

// One REQ_INFO_PRODUIT exchange with the wholesaler of an account, asynchronous: its own socket and
// state, so that several can run at once without blocking the window.
class EchangeInfoProduit : public QObject {
    Q_OBJECT
public:
    explicit EchangeInfoProduit(QObject *parent = nullptr, Horloge horloge = horlogeSysteme());
    ~EchangeInfoProduit() override;

    // Longest wait for a complete reply, counted from the connection request; 60 s unless changed.
    void setDelaiAttente(std::chrono::milliseconds delai);
    // Longest wait for the connection itself, name lookup included; 10 s unless changed.
    void setDelaiConnexion(std::chrono::milliseconds delai);

    // Builds the request for `lignes` (items "code,quantity" separated by ";", at most 50) with the
    // settings of the account, as its caller read them, writes Trace.xml, sends it. `termine` follows
    // once, later (never from within this call), unless `annule` comes first. Ignored while one is
    // under way. The port written in URLRepart<n> is used, else PortRepart<n>, else 80 (443 for https).
    // When that address cannot be reached at all (refused, unknown host, unreachable, no connection
    // within its limit), the same request goes to the backup address URLSecours<n> / PortSecours<n>, if
    // the account has one. The proxy is the one setting "Proxy" or the environment names (see
    // Http::choisitProxy); an https address is reached over TLS, its certificate verified before
    // anything is sent.
    void lance(const QString &lignes, const CompteRepartiteur &compte);
    // Closes the connection of an exchange under way; `termine` is not emitted for it.
    void annule();
    bool enCours() const;

    // After `termine`: how the exchange ended.
    const ResultatEchange &resultat() const;

    // What the last exchange left: its request (reference, credential, body), the reply as gathered
    // (whether chunked, what came so far) and, once complete, without headers and coding.
    ConstructeurRequete &requete();
    const Http::AssembleurRetour &assembleur() const;
    const QByteArray &retourXML() const;

signals:
    void termine();
    // A failure that does not end the exchange (the trace file could not be written...), with what
    // the one-product query shows for it then. Delivered later, never from within a call, in order
    // with `termine`.
    void incident(const QString &message);

private:
    struct Etat;
    std::unique_ptr<Etat> m_etat;
};
