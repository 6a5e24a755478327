#pragma once

#include "zoneresultat.h"

#include <QMap>
#include <QStringList>

// A result area kept as text: what the exchange wrote to each place, for printing or checking.
class ZoneTexte : public ZoneResultat {
public:
    explicit ZoneTexte(qint16 numRepartCourant = 1) : m_numRepart(numRepartCourant) {}

    // What the availability query does before an exchange: box of the current account yellow with
    // "Requête envoyée", general and current result labels emptied. Not counted as written.
    void preparePourRequete();

    // One line per place written, in the order LabRetour(0..2), txtInfos(1..2): name, tab, colour
    // "#RRGGBB" (text colour of a label, background of a box), tab, the text with "\" written "\\",
    // CR "\r" and LF "\n".
    QStringList lignes() const;
    // A text on one line of that output: "\" written "\\", CR "\r", LF "\n".
    static QString echappe(QString texte);

    qint16 NumRepartCourant() const override { return m_numRepart; }
    void setCouleurTexteLabRetour(int index, CouleurRVB couleur) override;
    void setLabRetour(int index, const QString &texte) override;
    QString LabRetour(int index) const override;
    void setCouleurFondTxtInfos(int index, CouleurRVB couleur) override;
    void setTxtInfos(int index, const QString &texte) override;
    void laisseDeroulerEvenements() override;

private:
    struct Place {
        CouleurRVB couleur;
        QString texte;
        bool ecrite = false;
    };
    Place &place(const char *nom, int index);

    qint16 m_numRepart;
    QMap<QString, Place> m_places; // keyed so that the names sort in the printing order
};
