// Dragging the window by its skin, closing it, the window's keys (F1, F2, F3, F4, F6, F7, F8, Ctrl+W,
// Escape, the arrow chains) and the links to the maker's web site.
#include "frmmain.h"

#include "frmliste.h"
#include "picturebox.h"
#include "requetescomptoir.h"
#include "siteediteur.h"
#include "tovabutton.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QWindow>

bool frmMain::keyDown(QObject *receiver, QKeyEvent *event)
{
    // A key reaches the focused control first and then, unless taken, its parents: it is the
    // window's once, on its first delivery.
    QWidget *focus = focusWidget();
    if (receiver != (focus ? focus : static_cast<QWidget *>(this)))
        return false;

    switch (event->key()) {
    case Qt::Key_F1:
        aideEnLigne();
        return false;
    case Qt::Key_F2:
    case Qt::Key_F3:
        // Also while another query is under way: each key asks its own account.
        cmdDispoClick(event->key() == Qt::Key_F2 ? 0 : 1);
        return false;
    case Qt::Key_F4:
        if (!requeteEnCours())
            ouvreListe();
        return false;
    case Qt::Key_F7:
        interrogeCode(remplacantAffiche());
        return false;
    case Qt::Key_F6:
        if (!requeteEnCours())
            ouvreHistorique();
        return false;
    case Qt::Key_F8:
        ouvreSurveillance();
        return false;
    case Qt::Key_W:
        if (event->modifiers() == Qt::ControlModifier)
            surveilleProduit();
        return false;
    case Qt::Key_Escape:
        // Taken only when it cancels: outside a query the control has it, as always.
        if (!requeteEnCours())
            return false;
        annuleRequetes();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // On a command that has the focus, as Space does.
        if (focus == m_cmdParam)
            cmdParamClick();
        else if (focus == cmdDispo(0) || focus == cmdDispo(1))
            cmdDispoClick(focus == cmdDispo(0) ? 0 : 1);
        else
            return false;
        return true;
    case Qt::Key_Down:
        if (focus == m_picAide)
            txtDispo(0)->setFocus();
        return false;
    case Qt::Key_Up:
        break;
    default:
        return false;
    }

    if (focus == txtDispo(2)) {
        txtDispo(1)->setFocus();
    } else if (focus == txtDispo(1)) {
        txtDispo(0)->setFocus();
    } else if (focus == txtDispo(0)) {
        if (!cmdDispo(1)->isHidden())
            cmdDispo(1)->setFocus();
        else if (!cmdDispo(0)->isHidden())
            cmdDispo(0)->setFocus();
    } else if (focus == txtDispo(7)) {
        txtDispo(6)->setFocus();
    } else if (focus == txtDispo(6)) {
        txtDispo(5)->setFocus();
    } else if (focus == txtDispo(5)) {
        txtDispo(4)->setFocus();
    } else if (focus == txtDispo(4)) {
        m_cboDispo->setFocus();
    }
    return false;
}

bool frmMain::picMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        // Only the bare skin: a press on a label or a control that passed it on is theirs.
        if (m_pic->childAt(mouse->position().toPoint()))
            return false;
        QWindow *handle = windowHandle();
        if (handle && handle->startSystemMove())
            return true;
        m_glisse = true;
        m_origineFenetre = pos();
        m_originePointeur = mouse->globalPosition().toPoint();
        return true;
    }
    case QEvent::MouseMove:
        if (!m_glisse)
            return false;
        move(m_origineFenetre + static_cast<QMouseEvent *>(event)->globalPosition().toPoint() -
             m_originePointeur);
        return true;
    case QEvent::MouseButtonRelease:
        if (!m_glisse || static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton)
            return false;
        m_glisse = false;
        return true;
    default:
        return false;
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The exchanges still waiting end with the window; nothing else is kept or saved.
    m_comptoir->annule();
    QWidget::closeEvent(event);
}

void frmMain::aideEnLigne()
{
    const QString texte = QStringLiteral("Accès à l'aide en ligne de Solvarin\r\nsur le site web ") +
                          SiteEditeur::nomHote() + QStringLiteral(" ?");
    QMessageBox question(QMessageBox::Question, QStringLiteral("Aide en ligne"), texte,
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::Yes);
    if (question.exec() == QMessageBox::Yes)
        QDesktopServices::openUrl(SiteEditeur::pageAide());
}

void frmMain::ouvreAccueil()
{
    QDesktopServices::openUrl(SiteEditeur::pageAccueil());
}

void frmMain::ouvreListe()
{
    if (!m_liste) {
        m_liste = new FrmListe(this, m_temporisation.attenteRetour);
        connect(m_liste, &FrmListe::historiqueDemande, this, &frmMain::ouvreHistorique);
        connect(m_liste, &FrmListe::surveiller, this, &frmMain::surveilleManquants);
    }
    m_liste->show();
    m_liste->raise();
    m_liste->activateWindow();
}
