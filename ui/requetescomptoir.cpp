#include "requetescomptoir.h"

#include "compterepartiteur.h"
#include "echangeinfoproduit.h"

#include <algorithm>

struct RequetesComptoir::EnCours {
    QuestionComptoir question;
    std::unique_ptr<EchangeInfoProduit> echange;
};

RequetesComptoir::RequetesComptoir(std::chrono::milliseconds attente, QObject *parent)
    : QObject(parent), m_attente(attente)
{}

RequetesComptoir::~RequetesComptoir() = default;

quint64 RequetesComptoir::pose(qint16 compte, const QString &code, const QDate &peremption)
{
    auto r = std::make_unique<EnCours>();
    r->question = {++m_derniere, compte, code, peremption, {}};
    r->echange = std::make_unique<EchangeInfoProduit>();
    r->echange->setDelaiAttente(m_attente);
    const quint64 numero = r->question.numero;
    connect(r->echange.get(), &EchangeInfoProduit::termine, this, [this, numero] { termine(numero); });
    connect(r->echange.get(), &EchangeInfoProduit::incident, this, [this, numero](const QString &message) {
        if (const auto it = trouve(numero); it != m_enCours.end())
            emit incident((*it)->question, message);
    });
    EchangeInfoProduit &echange = *r->echange;
    m_enCours.push_back(std::move(r));
    echange.lance(code + QStringLiteral(",1"), CompteRepartiteur::lis(compte));
    return numero;
}

void RequetesComptoir::annule()
{
    // Deleting an exchange closes its connection and drops what it would still deliver.
    m_enCours.clear();
}

bool RequetesComptoir::enCours(quint64 numero) const
{
    return std::any_of(m_enCours.begin(), m_enCours.end(),
                       [numero](const auto &e) { return e->question.numero == numero; });
}

std::vector<std::unique_ptr<RequetesComptoir::EnCours>>::iterator RequetesComptoir::trouve(quint64 numero)
{
    return std::find_if(m_enCours.begin(), m_enCours.end(),
                        [numero](const auto &e) { return e->question.numero == numero; });
}

void RequetesComptoir::termine(quint64 numero)
{
    const auto it = trouve(numero);
    if (it == m_enCours.end())
        return;
    // Out of the list first: whoever receives the answer may ask again or cancel everything.
    std::unique_ptr<EnCours> fini = std::move(*it);
    m_enCours.erase(it);
    fini->question.refMessage = fini->echange->requete().refMessage();
    emit reponse(fini->question, fini->echange->resultat());
    // The exchange is still inside its own signal: it goes once that has returned.
    fini->echange.release()->deleteLater();
}
