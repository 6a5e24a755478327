#pragma once

#include "horloge.h"
#include "parametressurveillance.h"
#include "produitsurveille.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <chrono>
#include <memory>

class BaseSurveillance;
class TourneeSurveillance;

// The watch of the running program: looks every `pas` whether a round is due (the pharmacy open, and
// no round taken by any counter of the pharmacy within the interval) and runs it at every complete
// account. The database (the history's, from [Historique] as it is then) opens on first use and again
// after a failure. "Now" comes from the clock given, so that tests run rounds at any hour.
class Surveillance : public QObject {
    Q_OBJECT
public:
    explicit Surveillance(QObject *parent = nullptr, Horloge maintenant = horlogeSysteme());
    ~Surveillance() override;

    // How often a due round is looked for (one minute unless changed); the rounds' replies' limit.
    void setPas(std::chrono::milliseconds pas) { m_minuterie.setInterval(pas); }
    void setDelaiAttente(std::chrono::milliseconds delai);
    // Starts looking, at once and then every `pas`.
    void demarre();

    // Starts a round now if the pharmacy is open (or `horairesIgnores`); `force` takes it whenever the
    // last one ran. False (and `tourTermine` does not follow) when none started.
    bool lanceTour(bool force, bool horairesIgnores = false);
    bool enCours() const;

    // The watch list, opened on demand; null (after an `avertissement`) when it cannot be. A database
    // that could not be opened is tried again only after a pause, so that a server out of reach does
    // not hold the window at every look.
    BaseSurveillance *base();
    // Adds products after checking their codes (7 digits, or 13 with their check digit): the refused
    // ones are returned. `listeModifiee` follows a change.
    QStringList ajoute(const QStringList &codes, const QString &designation = {});
    void retire(const QStringList &codes);

signals:
    void changement(const Changement &changement);
    // A product answered available by an account that did not have it: the alert's text.
    void alerte(const QString &texte);
    void tourTermine();
    void listeModifiee();
    // A setting not taken as written or the database unavailable; each message once.
    void avertissement(const QString &message);

private:
    void signale(const QString &message);

    Horloge m_maintenant;
    QTimer m_minuterie;
    std::chrono::milliseconds m_delai{60000};
    std::unique_ptr<BaseSurveillance> m_base;
    QElapsedTimer m_dernierEchec;
    std::unique_ptr<TourneeSurveillance> m_tournee;
    QSet<QString> m_signales;
};

namespace Alerte {
// "Disponible chez PHOENIX : 3400935829108 DOLIPRANE 1000MG CPR B/8"
QString texte(const Changement &changement);
} // namespace Alerte
