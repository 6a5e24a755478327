#pragma once

class QWidget;
class TOVAButton;

// The window's three command buttons: controls created by their class identifier
// "TOVA_Button.TOVAButton" and loaded with the properties stored with the window.
namespace Commandes {

enum class Bouton { Param, Dispo1, Dispo2 };

TOVAButton *creer(Bouton bouton, QWidget *parent);

} // namespace Commandes
