#include "commandes.h"

#include "tovabutton.h"
#include "tovafactory.h"
#include "tovapropertybag.h"

#include <QFont>

#include <stdexcept>

namespace {

// OLE colours of the stored properties: RGB values 0x00BBGGRR.
constexpr int grey224 = 0x00E0E0E0;
constexpr int grey192 = 0x00C0C0C0;
constexpr int black = 0x00000000;

TOVAPropertyBag storedProperties(Commandes::Bouton bouton)
{
    using Commandes::Bouton;
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(9);

    TOVAPropertyBag bag;
    bag.writeProperty(QStringLiteral("BTYPE"), int(TOVAButton::KDE2));
    bag.writeProperty(QStringLiteral("TX"), bouton == Bouton::Param ? QStringLiteral("Paramètres")
                                                                    : QStringLiteral("Disponibilité ?"));
    bag.writeProperty(QStringLiteral("ENAB"), true);
    bag.writeProperty(QStringLiteral("FONT"), font);
    bag.writeProperty(QStringLiteral("COLTYPE"), int(TOVAButton::Custom));
    // A command reached with Tab shows it: Space or Enter then presses it.
    bag.writeProperty(QStringLiteral("FOCUSR"), true);
    bag.writeProperty(QStringLiteral("BCOL"), grey224);
    bag.writeProperty(QStringLiteral("BCOLO"), grey224);
    bag.writeProperty(QStringLiteral("FCOL"), black);
    bag.writeProperty(QStringLiteral("FCOLO"), black);
    bag.writeProperty(QStringLiteral("MCOL"), bouton == Bouton::Dispo1 ? grey192 : black);
    bag.writeProperty(QStringLiteral("MPTR"), short(TOVAButton::vbArrow));
    if (bouton != Bouton::Param) {
        const QString icon = bouton == Bouton::Dispo1 ? QStringLiteral(":/solvarin/dispo1.ico")
                                                      : QStringLiteral(":/solvarin/dispo2.ico");
        bag.writeProperty(QStringLiteral("PICN"), QVariant::fromValue(TOVAPicture::fromFile(icon)));
    }
    bag.writeProperty(QStringLiteral("UMCOL"), bouton == Bouton::Dispo2);
    bag.writeProperty(QStringLiteral("SOFT"), false);
    bag.writeProperty(QStringLiteral("PICPOS"), int(TOVAButton::cbLeft));
    bag.writeProperty(QStringLiteral("NGREY"), false);
    bag.writeProperty(QStringLiteral("FX"), int(TOVAButton::cbNone));
    bag.writeProperty(QStringLiteral("HAND"), false);
    bag.writeProperty(QStringLiteral("CHECK"), false);
    bag.writeProperty(QStringLiteral("VALUE"), false);
    return bag;
}

} // namespace

namespace Commandes {

TOVAButton *creer(Bouton bouton, QWidget *parent)
{
    auto *button = qobject_cast<TOVAButton *>(TOVA_CreateControl(TOVA_BUTTON_CLASS_ID, parent));
    // The control library ships with the program; without it the window cannot be built.
    if (!button)
        throw std::runtime_error("the TOVA_Button control library provides no " TOVA_BUTTON_CLASS_ID);
    button->ReadProperties(storedProperties(bouton));
    return button;
}

} // namespace Commandes
