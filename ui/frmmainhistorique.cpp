// The history: F6 opens its window, a code chosen there is asked again, and a history that cannot
// record is told in the general label once.
#include "frmmain.h"

#include "frmhistorique.h"
#include "historique.h"
#include "tovabutton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

void frmMain::brancheHistorique()
{
    if (Historique *h = Historique::actif())
        connect(h, &Historique::avertissement, this, &frmMain::signaleHistorique);
}

void frmMain::signaleHistorique(const QString &message)
{
    // Under what the label shows (the designation of the answer on screen), never in its place.
    const QString affiche = LabRetour(0);
    if (affiche.isEmpty())
        setCouleurTexteLabRetour(0, Couleurs::rouge);
    setLabRetour(0, affiche.isEmpty() ? message : affiche + u'\n' + message);
}

void frmMain::ouvreHistorique()
{
    if (!m_historique) {
        m_historique = new FrmHistorique(this);
        connect(m_historique, &FrmHistorique::codeChoisi, this, &frmMain::interrogeCode);
        ajouteOngletSurveillance(m_historique);
    }
    m_historique->show();
    m_historique->raise();
    m_historique->activateWindow();
}

void frmMain::interrogeCode(const QString &code)
{
    if (code.isEmpty())
        return;
    txtDispo(2)->setText(code);
    activateWindow();
    interrogeTousLesComptes();
}
