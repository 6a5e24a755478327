#include "surveillance.h"

#include "basesurveillance.h"
#include "comptes.h"
#include "lectureliste.h"
#include "tourneesurveillance.h"

#include <memory>

namespace {

constexpr std::chrono::minutes pauseApresEchec{5};

} // namespace

namespace Alerte {
QString texte(const Changement &c)
{
    return QStringLiteral("Disponible chez %1 : %2 %3").arg(c.repartiteur, c.code, c.designation).trimmed();
}
} // namespace Alerte

Surveillance::Surveillance(QObject *parent, Horloge maintenant) : QObject(parent), m_maintenant(maintenant)
{
    m_minuterie.setInterval(std::chrono::minutes(1));
    connect(&m_minuterie, &QTimer::timeout, this, [this] { lanceTour(false); });
}

Surveillance::~Surveillance() = default;

void Surveillance::setDelaiAttente(std::chrono::milliseconds delai)
{
    m_delai = delai;
}

void Surveillance::demarre()
{
    m_minuterie.start();
    QMetaObject::invokeMethod(
        this, [this] { lanceTour(false); }, Qt::QueuedConnection);
}

bool Surveillance::enCours() const
{
    return m_tournee && m_tournee->enCours();
}

void Surveillance::signale(const QString &message)
{
    if (!m_signales.contains(message)) {
        m_signales.insert(message);
        emit avertissement(message);
    }
}

BaseSurveillance *Surveillance::base()
{
    if (m_base && m_base->ouverte())
        return m_base.get();
    if (m_dernierEchec.isValid() &&
        !m_dernierEchec.hasExpired(std::chrono::milliseconds(pauseApresEchec).count()))
        return nullptr;
    QString erreur;
    const auto parametres = ParametresHistorique::lis(&erreur);
    if (parametres) {
        m_tournee.reset();
        m_base = std::make_unique<BaseSurveillance>(*parametres);
        erreur = m_base->ouvre();
    }
    if (erreur.isEmpty())
        return m_base.get();
    m_tournee.reset();
    m_base.reset();
    m_dernierEchec.start();
    signale(QStringLiteral("Surveillance indisponible : ") + erreur);
    return nullptr;
}

bool Surveillance::lanceTour(bool force, bool horairesIgnores)
{
    if (enCours())
        return false;
    const ParametresSurveillance parametres = ParametresSurveillance::lis();
    for (const QString &message : parametres.avertissements)
        signale(message);
    const QDateTime maintenant = m_maintenant();
    const QList<qint16> comptes = Comptes::complets();
    if ((!horairesIgnores && !parametres.ouvert(maintenant)) || comptes.isEmpty())
        return false;
    BaseSurveillance *b = base();
    QString erreur;
    if (!b || !b->prendTour(maintenant, parametres.intervalle, force, &erreur)) {
        if (!erreur.isEmpty())
            signale(QStringLiteral("Surveillance indisponible : ") + erreur);
        return false;
    }
    if (!m_tournee) {
        m_tournee = std::make_unique<TourneeSurveillance>(*b);
        connect(m_tournee.get(), &TourneeSurveillance::avertissement, this, &Surveillance::signale);
        connect(m_tournee.get(), &TourneeSurveillance::terminee, this, &Surveillance::tourTermine);
        connect(m_tournee.get(), &TourneeSurveillance::changement, this, [this](const Changement &c) {
            emit changement(c);
            if (c.alerte)
                emit alerte(Alerte::texte(c));
        });
    }
    m_tournee->setDelaiAttente(m_delai);
    m_tournee->lance(maintenant, parametres, comptes);
    return true;
}

QStringList Surveillance::ajoute(const QStringList &codes, const QString &designation)
{
    QStringList refuses;
    BaseSurveillance *b = base();
    bool modifiee = false;
    for (const QString &code : codes) {
        // The list's own reading decides what a code is: 7 digits, or 13 with a right check digit.
        const QList<LigneListe> lues = LectureListe::lis(code);
        if (lues.size() != 1 || lues.first().code != code.trimmed()) {
            refuses << code;
            continue;
        }
        if (!b)
            continue;
        const QString erreur = b->ajoute(lues.first().code, designation, m_maintenant());
        if (erreur.isEmpty())
            modifiee = true;
        else
            signale(QStringLiteral("Surveillance indisponible : ") + erreur);
    }
    if (modifiee)
        emit listeModifiee();
    return refuses;
}

void Surveillance::retire(const QStringList &codes)
{
    BaseSurveillance *b = base();
    if (!b)
        return;
    for (const QString &code : codes) {
        const QString erreur = b->retire(code);
        if (!erreur.isEmpty())
            signale(QStringLiteral("Surveillance indisponible : ") + erreur);
    }
    emit listeModifiee();
}
