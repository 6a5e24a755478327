#pragma once

#include "zoneresultat.h"

// One account's view of the window's result area: the exchange that answers for account n writes in
// n's places whatever account the window shows meanwhile. It lets no events run in the middle of an
// answer: another answer or a key would then write between its lines; the answer is drawn as soon as
// its handler returns to the event loop.
class ZoneCompte : public ZoneResultat {
public:
    ZoneCompte(ZoneResultat &zone, qint16 n) : m_zone(zone), m_n(n) {}

    qint16 NumRepartCourant() const override { return m_n; }
    void setCouleurTexteLabRetour(int index, CouleurRVB couleur) override
    {
        m_zone.setCouleurTexteLabRetour(index, couleur);
    }
    void setLabRetour(int index, const QString &texte) override { m_zone.setLabRetour(index, texte); }
    QString LabRetour(int index) const override { return m_zone.LabRetour(index); }
    void setCouleurFondTxtInfos(int index, CouleurRVB couleur) override
    {
        m_zone.setCouleurFondTxtInfos(index, couleur);
    }
    void setTxtInfos(int index, const QString &texte) override { m_zone.setTxtInfos(index, texte); }
    void setRemplacant(int index, const QString &code) override { m_zone.setRemplacant(index, code); }
    void laisseDeroulerEvenements() override {}

private:
    ZoneResultat &m_zone;
    qint16 m_n;
};
