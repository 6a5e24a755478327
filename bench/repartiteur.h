#pragma once

#include "compteessai.h"
#include "simulateur.h"

#include <QThread>

#include <atomic>

// A simulated wholesaler that answers from its own thread, as a remote server would, while the
// exchange waits; it counts the requests it answers.
class Repartiteur {
public:
    explicit Repartiteur(int tailleChunk = 0)
    {
        m_fil.start();
        m_sim = new SimulateurPharmaML;
        m_sim->options().tailleChunk = tailleChunk;
        m_sim->moveToThread(&m_fil);
        QObject::connect(m_sim, &SimulateurPharmaML::journal, m_sim, [this] { ++m_requetes; });
        QMetaObject::invokeMethod(
            m_sim, [this] { m_sim->ecoute(); }, Qt::BlockingQueuedConnection);
    }
    ~Repartiteur()
    {
        QMetaObject::invokeMethod(
            m_sim, [this] { delete m_sim; }, Qt::BlockingQueuedConnection);
        m_fil.quit();
        m_fil.wait();
    }
    quint16 port() const { return m_sim->port(); }
    int requetes() const { return m_requetes; }

private:
    QThread m_fil;
    SimulateurPharmaML *m_sim;
    std::atomic<int> m_requetes = 0;
};
