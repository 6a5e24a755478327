#pragma once

#include <QString>
#include <QtGlobal>

// A colour of the result area, as red, green and blue.
struct CouleurRVB {
    quint8 rouge = 0;
    quint8 vert = 0;
    quint8 bleu = 0;
    friend bool operator==(const CouleurRVB &, const CouleurRVB &) = default;
};

namespace Couleurs {
inline constexpr CouleurRVB rouge{255, 0, 0}; // errors, product not available
inline constexpr CouleurRVB vert{0, 255, 0};  // product available
inline constexpr CouleurRVB noir{0, 0, 0};    // ordinary text
} // namespace Couleurs

// The result area of the main window, the only place where the exchange shows its outcomes:
//   LabRetour(0)               general message label (designation, input check messages)
//   LabRetour(1), LabRetour(2) result label of account 1 and 2 (price lines, error messages)
//   txtInfos(1), txtInfos(2)   availability box of account 1 and 2
// The window implements it; the exchange never asks for an index outside those ranges.
class ZoneResultat {
public:
    virtual ~ZoneResultat() = default;

    // The current wholesaler account, 1 or 2.
    virtual qint16 NumRepartCourant() const = 0;

    virtual void setCouleurTexteLabRetour(int index, CouleurRVB couleur) = 0;
    virtual void setLabRetour(int index, const QString &texte) = 0;
    virtual QString LabRetour(int index) const = 0;

    virtual void setCouleurFondTxtInfos(int index, CouleurRVB couleur) = 0;
    virtual void setTxtInfos(int index, const QString &texte) = 0;
    // The replacement's code that the next result label of account `index` names ("" for none), for a
    // place that offers it as a link; one without links ignores it.
    virtual void setRemplacant(int, const QString &) {}

    // Lets all pending window events run, so that a change shows at once.
    virtual void laisseDeroulerEvenements() = 0;
};
