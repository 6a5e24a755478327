#include "historique.h"

#include "comptes.h"
#include "releve.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace {

QPointer<Historique> historiqueActif;

// A database that could not be opened is tried again at the next answer after this long.
constexpr std::chrono::seconds pauseAvantNouvelEssai{30};
constexpr std::chrono::hours intervallePurge{24};

} // namespace

// Lives in the history's thread and owns the database there.
class TravailHistorique : public QObject {
    Q_OBJECT
public:
    std::optional<ParametresHistorique> parametres;
    QString erreurParametres;
    std::chrono::milliseconds delaiPurge{30000};

    void enregistre(const QList<ReponseEnregistree> &reponses)
    {
        if (!pret())
            return;
        const QString erreur = m_base->enregistre(reponses);
        if (!erreur.isEmpty()) {
            // Opened again at a later answer: the server may be back, the file writable again.
            m_base.reset();
            m_dernierEssai.start();
            signale(erreur);
            return;
        }
        m_signale = false;
        emit ajoutees();
    }

    void cherche(int recherche, const BaseHistorique::Filtre &filtre)
    {
        QString erreur;
        std::optional<QList<ReponseEnregistree>> reponses;
        if (pret())
            reponses = m_base->cherche(filtre, &erreur);
        if (reponses)
            emit trouvees(recherche, *reponses);
        else
            emit echec(recherche, message(erreur.isEmpty() ? m_derniereErreur : erreur));
    }

    void chercheRuptures(int recherche, int comptesExiges)
    {
        QString erreur;
        std::optional<QList<Rupture>> ruptures;
        if (pret())
            ruptures = m_base->ruptures(parametres->heuresRupture, comptesExiges, &erreur);
        if (ruptures)
            emit rupturesTrouvees(recherche, *ruptures);
        else
            emit echec(recherche, message(erreur.isEmpty() ? m_derniereErreur : erreur));
    }

signals:
    void avertissement(const QString &message);
    void ajoutees();
    void trouvees(int recherche, const QList<ReponseEnregistree> &reponses);
    void rupturesTrouvees(int recherche, const QList<Rupture> &ruptures);
    void echec(int recherche, const QString &message);

private:
    static QString message(const QString &raison)
    {
        return QStringLiteral("Historique indisponible : ") + raison;
    }

    void signale(const QString &raison)
    {
        m_derniereErreur = raison;
        if (!m_signale)
            emit avertissement(message(raison));
        m_signale = true;
    }

    bool pret()
    {
        if (m_base)
            return true;
        if (!parametres) {
            signale(erreurParametres);
            return false;
        }
        if (m_dernierEssai.isValid() &&
            !m_dernierEssai.hasExpired(std::chrono::milliseconds(pauseAvantNouvelEssai).count()))
            return false;
        auto base = std::make_unique<BaseHistorique>(*parametres);
        const QString erreur = base->ouvre();
        if (!base->misDeCote().isEmpty())
            emit avertissement(QStringLiteral("Historique : fichier endommagé mis de côté sous ") +
                               base->misDeCote() + QStringLiteral(", nouveau fichier commencé"));
        if (!erreur.isEmpty()) {
            m_dernierEssai.start();
            signale(erreur);
            return false;
        }
        m_base = std::move(base);
        if (!m_purgeProgrammee) {
            m_purgeProgrammee = true;
            QTimer::singleShot(delaiPurge, this, &TravailHistorique::purge);
        }
        return true;
    }

    void purge()
    {
        if (m_base)
            m_base->purge(parametres->joursConservation);
        QTimer::singleShot(intervallePurge, this, &TravailHistorique::purge);
    }

    std::unique_ptr<BaseHistorique> m_base;
    QElapsedTimer m_dernierEssai;
    QString m_derniereErreur;
    bool m_signale = false;
    bool m_purgeProgrammee = false;
};

Historique::Historique(QObject *parent) : QObject(parent), m_travail(new TravailHistorique)
{
    m_fil.setObjectName(QStringLiteral("historique"));
    m_travail->moveToThread(&m_fil);
    connect(m_travail, &TravailHistorique::avertissement, this, &Historique::avertissement);
    connect(m_travail, &TravailHistorique::ajoutees, this, &Historique::ajoutees);
    connect(m_travail, &TravailHistorique::trouvees, this, &Historique::trouvees);
    connect(m_travail, &TravailHistorique::rupturesTrouvees, this, &Historique::rupturesTrouvees);
    connect(m_travail, &TravailHistorique::echec, this, &Historique::echec);
    m_fil.start(QThread::LowPriority);
    historiqueActif = this;
}

Historique::~Historique()
{
    TravailHistorique *travail = m_travail;
    QMetaObject::invokeMethod(
        travail,
        [travail] {
            delete travail;
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    m_fil.wait();
}

Historique *Historique::actif()
{
    return historiqueActif;
}

void Historique::enregistreEchange(ReponseEnregistree::Source source, qint16 n, const QString &codeDemande,
                                   const ResultatEchange &resultat, const QString &refMessage)
{
    if (Historique *h = actif())
        h->enregistre(Releve::echange(source, n, codeDemande, resultat, refMessage));
}

void Historique::enregistreListe(ReponseEnregistree::Source source, const ReponsesCompte &compte,
                                 const QStringList &codes)
{
    if (Historique *h = actif())
        h->enregistre(Releve::liste(source, compte, codes));
}

void Historique::enregistre(const QList<ReponseEnregistree> &reponses)
{
    if (reponses.isEmpty())
        return;
    TravailHistorique *travail = configure();
    QMetaObject::invokeMethod(
        travail, [travail, reponses] { travail->enregistre(reponses); }, Qt::QueuedConnection);
}

int Historique::cherche(const BaseHistorique::Filtre &filtre)
{
    const int recherche = ++m_recherches;
    TravailHistorique *travail = configure();
    QMetaObject::invokeMethod(
        travail, [travail, recherche, filtre] { travail->cherche(recherche, filtre); }, Qt::QueuedConnection);
    return recherche;
}

int Historique::chercheRuptures()
{
    const int recherche = ++m_recherches;
    // Two wholesalers when the pharmacy has two complete accounts, else the one it has.
    const int comptesExiges = int(std::min<qsizetype>(2, std::max<qsizetype>(1, Comptes::complets().size())));
    TravailHistorique *travail = configure();
    QMetaObject::invokeMethod(
        travail, [travail, recherche, comptesExiges] { travail->chercheRuptures(recherche, comptesExiges); },
        Qt::QueuedConnection);
    return recherche;
}

TravailHistorique *Historique::configure()
{
    if (!m_configure) {
        // Read here, on first use: the settings file is read from the program's thread only, and
        // solvarin-query names its folder after start-up.
        m_configure = true;
        QString erreur;
        const auto parametres = ParametresHistorique::lis(&erreur);
        TravailHistorique *travail = m_travail;
        QMetaObject::invokeMethod(
            travail,
            [travail, parametres, erreur] {
                travail->parametres = parametres;
                travail->erreurParametres = erreur;
            },
            Qt::QueuedConnection);
    }
    return m_travail;
}

void Historique::attend()
{
    QMetaObject::invokeMethod(
        m_travail, [] {}, Qt::BlockingQueuedConnection);
}

void Historique::setDelaiPurge(std::chrono::milliseconds delai)
{
    TravailHistorique *travail = m_travail;
    QMetaObject::invokeMethod(
        travail, [travail, delai] { travail->delaiPurge = delai; }, Qt::QueuedConnection);
}

#include "historique.moc"
