#pragma once

#include "lignereponse.h"

#include <QDate>
#include <QObject>

#include <chrono>
#include <memory>
#include <vector>

class EchangeInfoProduit;

// A product asked at one account from the counter.
struct QuestionComptoir {
    quint64 numero = 0; // in the order asked, from 1
    qint16 compte = 0;
    QString code;       // the CIP or CIP13 sent
    QDate peremption;   // read from the box's 2D code; null when typed
    QString refMessage; // REF_MESSAGE of the request, once answered
};

// The counter's queries: each one its own exchange, all running at once, none waiting for another.
// Every answer is delivered, also one to a code the counter no longer shows.
class RequetesComptoir : public QObject {
    Q_OBJECT
public:
    explicit RequetesComptoir(std::chrono::milliseconds attente, QObject *parent = nullptr);
    ~RequetesComptoir() override;

    // Sends the query (quantity 1) at once; gives its number.
    quint64 pose(qint16 compte, const QString &code, const QDate &peremption);
    // Closes every exchange under way: none of them is answered any more.
    void annule();
    // Whether that query is still waiting for its answer.
    bool enCours(quint64 numero) const;

signals:
    void reponse(const QuestionComptoir &question, const ResultatEchange &resultat);
    // A failure that does not end the exchange (the trace file could not be written...).
    void incident(const QuestionComptoir &question, const QString &message);

private:
    struct EnCours;
    std::vector<std::unique_ptr<EnCours>>::iterator trouve(quint64 numero);
    void termine(quint64 numero);

    std::chrono::milliseconds m_attente;
    quint64 m_derniere = 0;
    std::vector<std::unique_ptr<EnCours>> m_enCours;
};
