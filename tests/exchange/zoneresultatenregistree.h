#pragma once

#include "zoneresultat.h"

#include <QString>
#include <QStringList>

#include <array>
#include <stdexcept>

// A result area that keeps what was written to each place and the order of the writes, so that a
// test can look at the screen the user would see.
class ZoneResultatEnregistree : public ZoneResultat {
public:
    struct Place {
        QString texte;
        CouleurRVB couleur; // text colour of a label, background of an availability box
        int ecritures = 0;
    };

    qint16 numRepartCourant = 1;
    std::array<Place, 3> labRetour{};
    std::array<Place, 3> txtInfos{}; // index 0 unused
    int evenementsDeroules = 0;
    QStringList journal; // "LabRetour(1)=text", "txtInfos(1) fond", "evenements"...

    qint16 NumRepartCourant() const override { return numRepartCourant; }

    void setCouleurTexteLabRetour(int index, CouleurRVB couleur) override {
        place(labRetour, index, 0).couleur = couleur;
        journal << QStringLiteral("LabRetour(%1) couleur").arg(index);
    }
    void setLabRetour(int index, const QString &texte) override {
        Place &p = place(labRetour, index, 0);
        p.texte = texte;
        ++p.ecritures;
        journal << QStringLiteral("LabRetour(%1)=").arg(index) + texte;
    }
    QString LabRetour(int index) const override { return labRetour.at(index).texte; }

    void setCouleurFondTxtInfos(int index, CouleurRVB couleur) override {
        place(txtInfos, index, 1).couleur = couleur;
        journal << QStringLiteral("txtInfos(%1) fond").arg(index);
    }
    void setTxtInfos(int index, const QString &texte) override {
        Place &p = place(txtInfos, index, 1);
        p.texte = texte;
        ++p.ecritures;
        journal << QStringLiteral("txtInfos(%1)=").arg(index) + texte;
    }
    void laisseDeroulerEvenements() override {
        ++evenementsDeroules;
        journal << QStringLiteral("evenements");
    }

    // The label and box of the current account.
    const Place &resultat() const { return labRetour.at(numRepartCourant); }
    const Place &dispo() const { return txtInfos.at(numRepartCourant); }

private:
    // A place that does not exist is a fault of the exchange: at() throws and the test fails.
    static Place &place(std::array<Place, 3> &places, int index, int premier) {
        if (index < premier)
            throw std::out_of_range("no such place in the result area");
        return places.at(index);
    }
};
