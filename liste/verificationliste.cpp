#include "verificationliste.h"

#include "codeproduit.h"
#include "compterepartiteur.h"
#include "echangeinfoproduit.h"

#include <algorithm>

struct VerificationListe::Envoi {
    std::unique_ptr<EchangeInfoProduit> echange;
    CompteRepartiteur compte; // as read when the check started
    qsizetype lot = 0;        // the request under way, or the next one
    qsizetype fin = 0;        // the requests this account sends: [0, fin)
    bool enVol = false;       // request `lot` is under way
};

VerificationListe::VerificationListe(QObject *parent) : QObject(parent) {}

VerificationListe::~VerificationListe() = default;

void VerificationListe::lance(const QList<LigneListe> &lignes, const QList<qint16> &numeros)
{
    for (const auto &e : m_envois) {
        if (e->enVol)
            e->echange->annule();
    }
    m_envois.clear();
    m_lots.clear();
    m_textes.clear();
    m_comptes.clear();
    for (const LigneListe &l : lignes) {
        if (!l.valide())
            continue;
        if (m_lots.isEmpty() || m_lots.last().size() == lignesParRequete) {
            m_lots.append(QStringList());
            m_textes.append(QString());
        }
        if (!m_textes.last().isEmpty())
            m_textes.last() += u';';
        m_textes.last() += l.code + u',' + QString::number(l.quantite);
        m_lots.last().append(l.code);
    }
    m_recues = 0;
    m_attendues = 0;
    for (const QStringList &lot : std::as_const(m_lots))
        m_attendues += int(lot.size() * numeros.size());

    for (const qint16 n : numeros) {
        ReponsesCompte compte;
        compte.numero = n;
        const CompteRepartiteur reglages = CompteRepartiteur::lis(n);
        compte.nom = reglages.nomRepart.value_or(QString());
        for (const QStringList &lot : std::as_const(m_lots)) {
            for (const QString &code : lot)
                compte.parCode.insert(code, ReponseCode());
        }
        m_comptes.append(compte);
        const int index = int(m_envois.size());
        auto envoi = std::make_unique<Envoi>();
        envoi->echange = std::make_unique<EchangeInfoProduit>();
        envoi->compte = reglages;
        envoi->echange->setDelaiAttente(m_delai);
        envoi->fin = m_lots.size();
        connect(envoi->echange.get(), &EchangeInfoProduit::termine, this, [this, index] { recoit(index); });
        m_envois.push_back(std::move(envoi));
    }
    for (int i = 0; i < int(m_envois.size()); ++i)
        envoieSuivant(i);
    // Nothing to send: the check is over at once, told later as it would be after an exchange.
    if (!enCours())
        QMetaObject::invokeMethod(this, &VerificationListe::terminee, Qt::QueuedConnection);
}

void VerificationListe::envoieSuivant(int indexCompte)
{
    Envoi &e = *m_envois[size_t(indexCompte)];
    e.enVol = e.lot < e.fin;
    if (e.enVol)
        e.echange->lance(m_textes[e.lot], e.compte);
}

void VerificationListe::recoit(int indexCompte)
{
    Envoi &e = *m_envois[size_t(indexCompte)];
    ReponsesCompte &compte = m_comptes[indexCompte];
    const ResultatEchange &resultat = e.echange->resultat();
    e.enVol = false;
    QStringList codes;
    if (resultat.issue == ResultatEchange::Issue::Echec) {
        // A reply that is neither a product answer nor an error shows nothing at the counter; a list
        // column still needs a reason.
        compte.echec = resultat.message.isEmpty() ? QStringLiteral("Retour non conforme") : resultat.message;
        codes = marque(indexCompte, e.lot, e.fin, ReponseCode::Etat::Echec);
        for (const QString &code : std::as_const(m_lots[e.lot]))
            compte.parCode[code].refMessage = e.echange->requete().refMessage();
        e.fin = e.lot;
    } else {
        compte.secours = compte.secours || resultat.secours;
        const QStringList &lot = m_lots[e.lot];
        codes = lot;
        // A reply line answers the code it names (or its CIP7/CIP13 counterpart). One about a product
        // never asked only says so, in the place of the request line it claims to answer.
        QHash<QString, const LigneReponse *> trouvees;
        QHash<QString, QString> autres;
        for (const LigneReponse &ligne : resultat.lignes) {
            // The code itself first: a list may hold a CIP7 and its CIP13 side by side.
            auto code = std::find(lot.cbegin(), lot.cend(), ligne.codeProduit);
            if (code == lot.cend())
                code = std::find_if(lot.cbegin(), lot.cend(), [&ligne](const QString &c) {
                    return CodeProduit::memeProduit(c, ligne.codeProduit);
                });
            if (code != lot.cend()) {
                if (!trouvees.contains(*code))
                    trouvees.insert(*code, &ligne);
            } else if (ligne.numLigneDemande >= 1 && ligne.numLigneDemande <= lot.size() &&
                       !autres.contains(lot[ligne.numLigneDemande - 1])) {
                autres.insert(lot[ligne.numLigneDemande - 1], ligne.codeProduit);
            }
        }
        for (const QString &code : lot) {
            ReponseCode &reponse = compte.parCode[code];
            reponse.refMessage = e.echange->requete().refMessage();
            reponse.ligne = {};
            reponse.autreProduit.reset();
            reponse.etat = ReponseCode::Etat::Repondue;
            if (const LigneReponse *ligne = trouvees.value(code))
                reponse.ligne = *ligne;
            else if (autres.contains(code))
                reponse.autreProduit = autres.value(code);
            else
                reponse.etat = ReponseCode::Etat::Absente;
        }
        m_recues += int(lot.size());
        ++e.lot;
    }
    envoieSuivant(indexCompte);
    emit reponses(indexCompte, codes);
    if (!enCours())
        emit terminee();
}

QStringList VerificationListe::marque(int indexCompte, qsizetype debut, qsizetype fin, ReponseCode::Etat etat)
{
    ReponsesCompte &compte = m_comptes[indexCompte];
    QStringList codes;
    for (qsizetype k = debut; k < fin; ++k) {
        for (const QString &code : std::as_const(m_lots[k]))
            compte.parCode[code].etat = etat;
        m_recues += int(m_lots[k].size());
        codes += m_lots[k];
    }
    return codes;
}

void VerificationListe::annule()
{
    if (!enCours())
        return;
    bool restaitAEnvoyer = false;
    for (const auto &e : m_envois)
        restaitAEnvoyer = restaitAEnvoyer || e->lot + (e->enVol ? 1 : 0) < e->fin;
    for (int i = 0; i < int(m_envois.size()); ++i) {
        Envoi &e = *m_envois[size_t(i)];
        // First what waits to be sent; when nothing does, what is under way.
        const qsizetype garde = restaitAEnvoyer && e.enVol ? e.lot + 1 : e.lot;
        if (!restaitAEnvoyer && e.enVol) {
            e.echange->annule();
            e.enVol = false;
        }
        const QStringList codes = marque(i, garde, e.fin, ReponseCode::Etat::Annulee);
        e.fin = garde;
        emit reponses(i, codes);
    }
    if (!enCours())
        emit terminee();
}

bool VerificationListe::enCours() const
{
    return std::any_of(m_envois.begin(), m_envois.end(), [](const auto &e) { return e->enVol; });
}
