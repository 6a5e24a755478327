#pragma once

#include "basehistorique.h"
#include "reponseenregistree.h"
#include "verificationliste.h"

#include <QObject>
#include <QThread>

#include <chrono>

class TravailHistorique;

// The history of the running program: answers are written by a thread of its own, so that
// recording never makes a window wait, and a database that fails costs no answer. One is made
// by the program (the window, solvarin-query) for its whole run; the recording hooks reach it
// through actif(). The database opens on first use, from [Historique] of Solvarin.ini in
// FichierINI::repertoireProgramme() as it is then; once open, answers older than the retention
// are removed in the background.
class Historique : public QObject {
    Q_OBJECT
public:
    explicit Historique(QObject *parent = nullptr);
    // Writes every answer still waiting, then closes the database.
    ~Historique() override;

    // The history of this run, or none (then nothing is recorded).
    static Historique *actif();

    // What the counter, the list window and solvarin-query call once per reply.
    static void enregistreEchange(ReponseEnregistree::Source source, qint16 n, const QString &codeDemande,
                                  const ResultatEchange &resultat, const QString &refMessage);
    static void enregistreListe(ReponseEnregistree::Source source, const ReponsesCompte &compte,
                                const QStringList &codes);

    // Queues the answers for the thread, in one transaction; returns at once.
    void enregistre(const QList<ReponseEnregistree> &reponses);

    // Searches and the shortage record, read by the thread: the result comes with `recherche`'s
    // number through `trouvees` / `rupturesTrouvees`, or `echec`.
    int cherche(const BaseHistorique::Filtre &filtre);
    int chercheRuptures();
    // Blocks until everything queued before is written (for solvarin-query and tests).
    void attend();

    // How long the retention waits after the database opens (30 s by default), so that it never
    // competes with the start-up.
    void setDelaiPurge(std::chrono::milliseconds delai);

signals:
    // "Historique indisponible : " and the reason, once, until a write succeeds again; or that a
    // damaged file was set aside.
    void avertissement(const QString &message);
    // Answers were written.
    void ajoutees();
    void trouvees(int recherche, const QList<ReponseEnregistree> &reponses);
    void rupturesTrouvees(int recherche, const QList<Rupture> &ruptures);
    void echec(int recherche, const QString &message);

private:
    // The worker, given the settings on first use.
    TravailHistorique *configure();

    QThread m_fil;
    TravailHistorique *m_travail;
    int m_recherches = 0;
    bool m_configure = false;
};
