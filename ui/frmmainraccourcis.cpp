// Dragging the window by its skin, closing it, the window's keys (F1, F2, F3, F4, F6, F8, Ctrl+W, the
// arrow chains) and the links to the maker's web site.
#include "frmmain.h"

#include "frmliste.h"
#include "modpharmaml.h"
#include "picturebox.h"
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

void frmMain::keyDown(QObject *receiver, QKeyEvent *event)
{
    // A key reaches the focused control first and then, unless taken, its parents: it is the
    // window's once, on its first delivery.
    QWidget *focus = focusWidget();
    if (receiver != (focus ? focus : static_cast<QWidget *>(this)))
        return;

    switch (event->key()) {
    case Qt::Key_F1:
        aideEnLigne();
        return;
    case Qt::Key_F2:
        if (cmdDispo(0)->Enabled())
            cmdDispoClick(0);
        return;
    case Qt::Key_F3:
        if (cmdDispo(1)->Enabled())
            cmdDispoClick(1);
        return;
    case Qt::Key_F4:
        if (!m_requeteEnCours)
            ouvreListe();
        return;
    case Qt::Key_F6:
        if (!m_requeteEnCours)
            ouvreHistorique();
        return;
    case Qt::Key_F8:
        ouvreSurveillance();
        return;
    case Qt::Key_W:
        if (event->modifiers() == Qt::ControlModifier)
            surveilleProduit();
        return;
    case Qt::Key_Down:
        if (focus == m_picAide)
            txtDispo(0)->setFocus();
        return;
    case Qt::Key_Up:
        break;
    default:
        return;
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
    // An exchange still waiting ends with the window; nothing else is kept or saved.
    if (m_requeteEnCours)
        m_pharmaML.reset();
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
    if (!m_liste)
    {
        m_liste = new FrmListe(this, m_temporisation.attenteRetour);
        connect(m_liste, &FrmListe::historiqueDemande, this, &frmMain::ouvreHistorique);
        connect(m_liste, &FrmListe::surveiller, this, &frmMain::surveilleManquants);
    }
    m_liste->show();
    m_liste->raise();
    m_liste->activateWindow();
}
