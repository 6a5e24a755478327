#pragma once

#include "lectureliste.h"
#include "lignereponse.h"

#include <QHash>
#include <QObject>

#include <chrono>
#include <memory>
#include <optional>

class EchangeInfoProduit;

// What one account said of one code.
struct ReponseCode {
    enum class Etat {
        Attente,  // its request is waiting to be sent or answered
        Repondue, // `ligne` holds the reply line
        Absente,  // the reply had no line for the code
        Echec,    // the account's exchange failed (its message: ReponsesCompte::echec)
        Annulee   // cancelled before its answer came
    };
    Etat etat = Etat::Attente;
    LigneReponse ligne;
    // Repondue with a line about another product in this code's place (its request line): that
    // product's code. Its line is not this code's answer, so `ligne` holds nothing of it.
    std::optional<QString> autreProduit;
    QString refMessage; // REF_MESSAGE of the request that was answered or failed
};

// Everything one account answered during a check.
struct ReponsesCompte {
    qint16 numero = 0;
    QString nom;          // the wholesaler's name ("NomRepart" + n)
    QString echec;        // the message of the exchange that failed (as the one-product query shows it)
    bool secours = false; // some reply came from the account's backup address
    QHash<QString, ReponseCode> parCode;
};

// Checks a list at several accounts at once: the valid codes go 50 to a request (the Pharma-ML
// maximum), each account's requests one after the other, the accounts side by side. An account whose
// exchange fails sends nothing more; its codes not yet answered take its failure.
class VerificationListe : public QObject {
    Q_OBJECT
public:
    static constexpr int lignesParRequete = 50;

    explicit VerificationListe(QObject *parent = nullptr);
    ~VerificationListe() override;

    // Longest wait for each reply, 60 s unless changed.
    void setDelaiAttente(std::chrono::milliseconds delai) { m_delai = delai; }

    // Starts a check of the valid lines at accounts `numeros`; a check under way is dropped first.
    void lance(const QList<LigneListe> &lignes, const QList<qint16> &numeros);
    // Stops what has not been sent; when everything left has been sent, abandons it too.
    void annule();
    bool enCours() const;

    // The accounts of the last check, in the order given, and what each answered.
    const QList<ReponsesCompte> &comptes() const { return m_comptes; }
    // Codes whose answer came (or failed or was cancelled), counted once per account, and their total.
    int reponsesRecues() const { return m_recues; }
    int reponsesAttendues() const { return m_attendues; }

signals:
    // Answers of account `indexCompte` (position in comptes()) came for those codes (or their request
    // failed or was cancelled).
    void reponses(int indexCompte, const QStringList &codes);
    // The check is over: every request answered, failed or cancelled.
    void terminee();

private:
    struct Envoi;
    void envoieSuivant(int indexCompte);
    void recoit(int indexCompte);
    // Gives the codes of requests [debut, fin) of an account that state, counts them as received, and
    // returns them.
    QStringList marque(int indexCompte, qsizetype debut, qsizetype fin, ReponseCode::Etat etat);

    std::chrono::milliseconds m_delai{60000};
    QList<QStringList> m_lots; // the codes of each request
    QList<QString> m_textes;   // their product lists, "code,quantity;..."
    QList<ReponsesCompte> m_comptes;
    std::vector<std::unique_ptr<Envoi>> m_envois;
    int m_recues = 0;
    int m_attendues = 0;
};
