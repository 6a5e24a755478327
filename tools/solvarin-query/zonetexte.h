#pragma once

#include "zoneresultat.h"

#include <QMap>
#include <QStringList>

// The text with every character that would break a one-line-per-item output escaped: "\" as "\\",
// CR "\r", LF "\n", tab "\t", other control characters (C0, DEL, C1, U+0085 among them) and the line
// and paragraph separators U+2028, U+2029 as "\uXXXX" (four capital hexadecimal digits).
QString echappeSortie(const QString &texte);

// A result area kept as text: what the exchange wrote to each place, for printing or checking.
class ZoneTexte : public ZoneResultat {
public:
    explicit ZoneTexte(qint16 numRepartCourant = 1) : m_numRepart(numRepartCourant) {}

    // What the availability query does before an exchange: box of the current account yellow with
    // "Requête envoyée", general and current result labels emptied. Not counted as written.
    void preparePourRequete();

    // One line per place written, in the order LabRetour(0..2), txtInfos(1..2): name, tab, colour
    // "#RRGGBB" (text colour of a label, background of a box), tab, the text through echappeSortie.
    QStringList lignes() const;

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
