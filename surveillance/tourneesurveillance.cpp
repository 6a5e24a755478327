#include "tourneesurveillance.h"

#include "basesurveillance.h"
#include "historique.h"
#include "releve.h"
#include "verificationliste.h"

using Etat = ReponseEnregistree::Etat;

ReponseEnregistree::Etat EtatCompte::etatAffiche() const
{
    return echec.isEmpty() ? etat : Releve::etatEchec(echec);
}

TourneeSurveillance::TourneeSurveillance(BaseSurveillance &base, QObject *parent)
    : QObject(parent), m_base(base)
{}

TourneeSurveillance::~TourneeSurveillance() = default;

bool TourneeSurveillance::enCours() const
{
    return std::any_of(m_verifications.begin(), m_verifications.end(),
                       [](const auto &v) { return v->enCours(); });
}

void TourneeSurveillance::lance(const QDateTime &maintenant, const ParametresSurveillance &parametres,
                                const QList<qint16> &comptes)
{
    m_verifications.clear();
    m_produits.clear();
    m_requetes = 0;
    m_maintenant = maintenant;
    m_parametres = parametres;
    QString erreur;
    const auto produits = m_base.produits(&erreur);
    const QList<qint16> enPause = produits ? m_base.enPause(maintenant, &erreur) : QList<qint16>();
    if (!erreur.isEmpty())
        emit avertissement(QStringLiteral("Surveillance indisponible : ") + erreur);
    for (const ProduitSurveille &p : produits.value_or(QList<ProduitSurveille>()))
        m_produits.insert(p.code, p);
    for (const qint16 n : comptes) {
        if (!erreur.isEmpty() || enPause.contains(n))
            continue;
        QList<LigneListe> lignes;
        for (const ProduitSurveille &p : *produits) {
            if (!p.comptes.value(n).attendJusquA(maintenant.date()))
                lignes.append({p.code, 1, p.code});
        }
        if (lignes.isEmpty())
            continue;
        m_requetes += int((lignes.size() + VerificationListe::lignesParRequete - 1) /
                          VerificationListe::lignesParRequete);
        auto verification = std::make_unique<VerificationListe>();
        verification->setDelaiAttente(m_delai);
        VerificationListe *v = verification.get();
        connect(v, &VerificationListe::reponses, this,
                [this, v](int k, const QStringList &codes) { recoit(v->comptes()[k], codes); });
        connect(v, &VerificationListe::terminee, this, [this] {
            if (!enCours())
                emit terminee();
        });
        m_verifications.push_back(std::move(verification));
        v->lance(lignes, {n});
    }
    if (m_verifications.empty())
        QMetaObject::invokeMethod(this, &TourneeSurveillance::terminee, Qt::QueuedConnection);
}

void TourneeSurveillance::recoit(const ReponsesCompte &compte, const QStringList &codes)
{
    const QList<ReponseEnregistree> reponses =
        Releve::liste(ReponseEnregistree::Source::Surveillance, compte, codes);
    if (Historique *h = Historique::actif())
        h->enregistre(reponses);
    bool finService = false;
    QList<BaseSurveillance::MiseAJour> misesAJour;
    QList<Changement> changements;
    for (const ReponseEnregistree &r : reponses) {
        const ProduitSurveille &produit = m_produits[r.codeDemande];
        const bool connu = produit.comptes.contains(r.compte);
        EtatCompte etat = produit.comptes.value(r.compte);
        const Etat avant = etat.etatAffiche();
        const bool avaitLeProduit = connu && etat.etat == Etat::Disponible;
        QString designation;
        if (r.etat == Etat::Echec || r.etat == Etat::Erreur || r.etat == Etat::FinService) {
            // A failure says nothing of the product: its last answer stays.
            etat.echec = r.motif;
            finService = finService || r.etat == Etat::FinService;
        } else {
            etat = {r.etat, m_maintenant, {}, r.datePrevue, r.remplacantCode, r.remplacantDesignation};
            designation = r.designation;
        }
        misesAJour.append({r.codeDemande, r.compte, etat, designation});
        const Etat apres = etat.etatAffiche();
        if (!connu || avant != apres)
            changements.append({r.codeDemande, r.compte, r.repartiteur,
                                connu ? std::optional(avant) : std::nullopt, apres,
                                designation.isEmpty() ? produit.designation : designation,
                                apres == Etat::Disponible && !avaitLeProduit});
    }
    // Told only once stored: an answer that could not be kept is asked again, and alerts then.
    const QString erreur = m_base.enregistre(misesAJour);
    if (!erreur.isEmpty()) {
        emit avertissement(QStringLiteral("Surveillance indisponible : ") + erreur);
        return;
    }
    for (const BaseSurveillance::MiseAJour &m : std::as_const(misesAJour)) {
        ProduitSurveille &produit = m_produits[m.code];
        produit.comptes.insert(m.compte, m.etat);
        if (!m.designation.isEmpty())
            produit.designation = m.designation;
    }
    for (const Changement &c : std::as_const(changements))
        emit changement(c);
    // The account is not asked again before the pharmacy's next opening.
    if (finService) {
        const QString erreur = m_base.pause(compte.numero, m_parametres.prochaineOuverture(m_maintenant));
        if (!erreur.isEmpty())
            emit avertissement(QStringLiteral("Surveillance indisponible : ") + erreur);
    }
}
