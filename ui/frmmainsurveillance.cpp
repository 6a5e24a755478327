// The watch in the main window: its rounds, the banner and sound of its alerts, Ctrl+W and the
// "Surveiller" button beside an answer to watch the product, F8 for the watch window (also a tab of
// the history window).
#include "frmmain.h"

#include "bandeausurveillance.h"
#include "frmhistorique.h"
#include "frmliste.h"
#include "frmsurveillance.h"
#include "notificationbureau.h"
#include "surveillance.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>

void frmMain::prepareSurveillance()
{
    m_surveillance = new Surveillance(this);
    m_bandeau = new BandeauSurveillance(this);
    connect(m_surveillance, &Surveillance::alerte, this, [this](const QString &texte) {
        m_bandeau->ajoute(texte);
        NotificationBureau::envoie(QStringLiteral("Solvarin"), texte);
        if (ParametresSurveillance::lis().son)
            QApplication::beep();
    });
    // A setting not taken as written, or the database out of reach: said once, where alerts are.
    connect(m_surveillance, &Surveillance::avertissement, m_bandeau, &BandeauSurveillance::ajoute);
    // Beside each account's answer, in the answer's own box, so that it shows with it.
    for (int n = 1; n <= 2; ++n) {
        auto *bouton = new QToolButton(txtInfos(n));
        bouton->setObjectName(QStringLiteral("cmdSurveiller%1").arg(n));
        bouton->setText(QStringLiteral("Surveiller"));
        bouton->setToolTip(QStringLiteral("Prévenir quand un répartiteur aura ce produit (Ctrl+W)"));
        bouton->setFocusPolicy(Qt::NoFocus);
        // The ordinary size, not the box's large bold letters: it must leave the answer readable.
        bouton->setFont(QApplication::font());
        bouton->adjustSize();
        // In the box's first line, which the answers leave empty.
        bouton->move(txtInfos(n)->width() - bouton->width() - 2, 2);
        connect(bouton, &QToolButton::clicked, this, &frmMain::surveilleProduit);
    }
}

Surveillance &frmMain::surveillance()
{
    return *m_surveillance;
}

void frmMain::surveilleProduit()
{
    const QString code = txtDispo(2)->text().trimmed();
    // The answer's designation, when the answer on screen is this code's.
    const QString designation = resultatAffiche() ? LabRetour(0) : QString();
    QString message;
    if (!m_surveillance->ajoute({code}, designation).isEmpty())
        message = QStringLiteral("Code à surveiller invalide : ") + code;
    else if (!m_surveillance->base())
        message = QStringLiteral("Surveillance indisponible");
    else
        message = QStringLiteral("Produit surveillé : ") + code;
    QToolTip::showText(txtDispo(2)->mapToGlobal(QPoint(0, txtDispo(2)->height())), message, txtDispo(2));
}

void frmMain::surveilleManquants(const QStringList &codes)
{
    m_surveillance->ajoute(codes);
    ouvreSurveillance();
}

void frmMain::ouvreSurveillance()
{
    if (!m_frmSurveillance)
        m_frmSurveillance = new FrmSurveillance(*m_surveillance, this);
    m_frmSurveillance->show();
    m_frmSurveillance->raise();
    m_frmSurveillance->activateWindow();
}

void frmMain::ajouteOngletSurveillance(FrmHistorique *historique)
{
    if (auto *onglets = historique->findChild<QTabWidget *>())
        onglets->addTab(new FrmSurveillance(*m_surveillance), QStringLiteral("Surveillance"));
}

BandeauSurveillance *frmMain::bandeau() const
{
    return m_bandeau;
}
