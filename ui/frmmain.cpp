#include "frmmain.h"

#include "apercuclavier.h"
#include "application.h"
#include "codeproduit.h"
#include "compterepartiteur.h"
#include "comptes.h"
#include "dossierparametres.h"
#include "estnumerique.h"
#include "fichierini.h"
#include "modpharmaml.h"
#include "modskin.h"
#include "picturebox.h"
#include "repartiteurs.h"
#include "requetescomptoir.h"
#include "siteediteur.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"
#include "zonecompte.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QTextEdit>

// Resources of a static library are registered by hand, outside any namespace.
static void initArtwork()
{
    Q_INIT_RESOURCE(artwork);
}

namespace {

const QString &infos = CompteRepartiteur::Cles::section;

QString lire(const QString &key)
{
    return FichierINI::LireIni(infos, key, QString());
}

const QStringList &accountKeys = CompteRepartiteur::clesCompletes();

QString libelleDispo(int n)
{
    return QStringLiteral("Disponibilité ") + Comptes::nom(n);
}

// Leaving a field validates it; a popup of its own or another window taking the activation does not.
bool leaves(const QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

// The wholesaler list takes no typed printable character; blanks, editing keys and control
// combinations (paste among them) pass.
bool refusedInList(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.front().unicode() > 32 && text.front().isPrint();
}

} // namespace

frmMain::frmMain(QWidget *parent, Temporisation temporisation)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_temporisation(temporisation)
{
    initArtwork();
    construitControles();
    setFixedSize(9885 / 15, 5445 / 15);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());

    for (int i = 0; i < int(m_txtDispo.size()); ++i) {
        txtDispo(i)->installEventFilter(this);
        // A field the user empties is stored at once, without waiting for the focus to leave.
        connect(txtDispo(i), &QLineEdit::textEdited, this, [this, i](const QString &text) {
            if (text.isEmpty())
                txtDispoValidate(i);
        });
    }
    m_cboDispo->installEventFilter(this);
    m_cboDispo->lineEdit()->installEventFilter(this);
    for (int n = 1; n <= 2; ++n)
        connect(txtInfos(n), &QTextEdit::textChanged, this, &frmMain::txtInfosChange);
    connect(m_tabParam, &TabStrip::Click, this, &frmMain::tabParamClick);
    connect(m_cmdParam, &TOVAButton::Click, this, &frmMain::cmdParamClick);
    for (int i = 0; i < int(m_cmdDispo.size()); ++i)
        connect(cmdDispo(i), &TOVAButton::Click, this, [this, i] { cmdDispoClick(i); });
    connect(m_picClose, &PictureBox::clicked, this, &QWidget::close);
    connect(m_picAide, &PictureBox::clicked, this, &frmMain::aideEnLigne);
    m_pic->installEventFilter(this);
    m_labAdresse->installEventFilter(this);
    brancheHistorique();
    prepareSurveillance();
    m_apercuClavier = std::make_unique<ApercuClavier>(
        [this](QObject *receveur, QKeyEvent *touche) { return keyDown(receveur, touche); });
    prepareComptoir();

    connect(m_webInfos, &WebInfos::downloadComplete, this, &frmMain::webInfosDownloadComplete);
    m_lectureInfos.setSingleShot(true);
    m_lectureInfos.setInterval(m_temporisation.attenteInfos);
    connect(&m_lectureInfos, &QTimer::timeout, this, &frmMain::essaiLectureInfos);

    chargement();
}

frmMain::~frmMain()
{
    // The exchanges still waiting end here, before the controls they write to go.
    m_comptoir.reset();
}

void frmMain::chargement()
{
    m_numRepartCourant = 1;
    bool complet = false;

    txtDispo(0)->setText(lire(CompteRepartiteur::Cles::adrPharmacie));
    txtDispo(1)->setText(lire(QStringLiteral("AdeliPharmacie")));

    if (RepartComplet(1)) {
        cmdDispo(0)->setCaption(libelleDispo(1));
        cmdDispo(0)->show();
        ChargeRepart(m_numRepartCourant);
        complet = true;
    } else {
        cmdDispo(0)->hide();
    }
    if (RepartComplet(2)) {
        cmdDispo(1)->setCaption(libelleDispo(2));
        cmdDispo(1)->show();
        complet = true;
    } else {
        cmdDispo(1)->hide();
    }

    if (!complet) {
        m_labSansParam->show();
        m_tabParam->show();
        m_picParam->show();
        m_webInfos->hide();
        m_labDemandeInfos->hide();
    }

    const QString hand = DossierParametres::fichierLivre(QStringLiteral("HandIE53232.ico"));
    if (FichierINI::FichierExiste(hand)) {
        const QPixmap pointer(hand);
        if (!pointer.isNull())
            m_labAdresse->setCursor(QCursor(pointer, 11, 1));
    }
    m_labAdresse->setToolTip(QStringLiteral("Accès au site web"));
    m_labAdresse->setText(SiteEditeur::texteAccueil());

    const QImage skin(QStringLiteral(":/solvarin/skin.png"));
    m_pic->setPixmap(QPixmap::fromImage(skin));
    m_pic->setGeometry(QRect(QPoint(0, 0), skin.size()));
    const QRegion shape = modSkin::RegionDepuisImage(skin);
    if (!shape.isEmpty())
        setMask(shape);

    m_webInfos->show();
    prendCipDuPressePapiers();
    m_webInfos->navigate(SiteEditeur::pageInfos(lire(QStringLiteral("AdeliPharmacie"))));
}

void frmMain::prendCipDuPressePapiers()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QString text = CodeProduit::sansBlancs(clipboard ? clipboard->text() : QString());
    if (EstCipDuPressePapiers(text))
        txtDispo(2)->setText(text);
}

void frmMain::activation()
{
    prendCipDuPressePapiers();
    if (m_tabParam->isHidden())
        txtDispo(2)->setFocus();
}

bool frmMain::event(QEvent *event)
{
    // The window is the program's only one: it is activated once, right after start-up; going to
    // another program and back is no activation of the program.
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        const bool handled = QWidget::event(event);
        activation();
        return handled;
    }
    return QWidget::event(event);
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (const auto width = largeurOnglet(m_tabParam->width(), m_tabParam->count()))
        m_tabParam->setTabWidth(*width);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pic)
        return picMouse(event);
    if (watched == m_labAdresse) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<const QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton &&
                m_labAdresse->rect().contains(mouse->position().toPoint()))
                ouvreAccueil();
        }
        return false;
    }
    if (watched == m_cboDispo || watched == m_cboDispo->lineEdit()) {
        if (refusedInList(event))
            return true;
        if (watched == m_cboDispo && leaves(event))
            cboDispoValidate();
        return false;
    }
    for (int i = 0; i < int(m_txtDispo.size()); ++i) {
        if (watched != txtDispo(i))
            continue;
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            // Key down, then the character it types; either may drop the key.
            const bool dropped = txtDispoKeyDown(i, key);
            return txtDispoKeyPress(i, key) || dropped;
        }
        if (leaves(event))
            txtDispoValidate(i);
    }
    return false;
}

bool frmMain::RepartComplet(int n) const
{
    return Comptes::complet(n);
}

void frmMain::ChargeRepart(int n)
{
    const QString nom = Comptes::nom(n);
    const int index = m_cboDispo->findText(nom, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_cboDispo->setCurrentIndex(index);
    m_cboDispo->setEditText(nom);
    for (int i = 3; i <= 7; ++i)
        txtDispo(i)->setText(lire(CompteRepartiteur::cle(accountKeys[i - 2], n)));
}

void frmMain::ValideChampActif()
{
    QWidget *focus = focusWidget();
    if (!focus)
        return;
    if (focus == m_cboDispo || focus == m_cboDispo->lineEdit()) {
        cboDispoValidate();
        return;
    }
    for (int i = 0; i < int(m_txtDispo.size()); ++i) {
        if (focus == txtDispo(i))
            txtDispoValidate(i);
    }
}

void frmMain::tabParamClick()
{
    m_numRepartCourant = static_cast<qint16>(m_tabParam->SelectedIndex());
    m_labDemandeInfos->setVisible(!RepartComplet(m_numRepartCourant));
    ChargeRepart(m_numRepartCourant);
}

void frmMain::cmdParamClick()
{
    if (!m_tabParam->isHidden()) {
        ValideChampActif();
        m_tabParam->hide();
        m_picParam->hide();
        m_webInfos->show();
        m_webInfos->refresh();
    } else {
        m_webInfos->hide();
        cacheReponses();
        m_labRetour[1]->hide();
        m_labRetour[2]->hide();
        m_tabParam->show();
        m_picParam->show();
        tabParamClick();
    }
}

void frmMain::webInfosDownloadComplete()
{
    m_essaisInfos = 0;
    m_lectureInfos.start();
}

void frmMain::essaiLectureInfos()
{
    if (++m_essaisInfos > m_temporisation.essaisInfos)
        return;
    // The page is read once it is there; a new navigation under way means trying again later.
    if (!m_webInfos->documentCharge()) {
        m_lectureInfos.start();
        return;
    }
    // A page that comes late never covers a query's answer, be it under way or on screen.
    if (requeteEnCours() || resultatAffiche())
        return;
    if (m_tabParam->isHidden() && !m_webInfos->texte().isEmpty()) {
        m_webInfos->show();
        txtDispo(2)->setFocus();
    }
}

void frmMain::txtInfosChange()
{
    txtDispo(2)->setFocus();
}

void frmMain::txtDispoValidate(int index)
{
    const int n = m_numRepartCourant;
    const QString text = txtDispo(index)->text();
    switch (index) {
    case 0:
        ecrire(CompteRepartiteur::Cles::adrPharmacie, text);
        break;
    case 1:
        ecrire(QStringLiteral("AdeliPharmacie"), text);
        break;
    case 4:
    case 5:
    case 6:
    case 7:
        ecrire(CompteRepartiteur::cle(accountKeys[index - 2], n), text);
        break;
    default:
        break;
    }

    TOVAButton *button = cmdDispo(n - 1);
    if (RepartComplet(n)) {
        m_labSansParam->hide();
        button->setCaption(libelleDispo(n));
        button->show();
        m_labDemandeInfos->hide();
    } else {
        m_labDemandeInfos->show();
        button->hide();
    }
}

void frmMain::cboDispoValidate()
{
    // A text that is not one of the names, the empty text included, stores nothing.
    const QString nom = m_cboDispo->currentText();
    const auto id = Repartiteurs::identifiant(nom);
    if (!id)
        return;
    const int n = m_numRepartCourant;
    txtDispo(3)->setText(QString::number(*id));
    if (ecrire(CompteRepartiteur::cle(CompteRepartiteur::Cles::nomRepart, n), nom))
        ecrire(CompteRepartiteur::cle(CompteRepartiteur::Cles::idRepart, n), txtDispo(3)->text());
}

bool frmMain::ecrire(const QString &key, const QString &value)
{
    if (FichierINI::EcrireIni(infos, key, value)) {
        m_refusSignale.clear();
        return true;
    }
    // The field keeps the typed text. Nothing is lost when the file holds that value already (a
    // field the user only went through); leaving the field again, or an emptied field's own store
    // followed by leaving it, is the same edit, told once.
    const QString refus = key + u'=' + value;
    if (refus != m_refusSignale && lire(key) != value) {
        m_refusSignale = refus;
        montreErreurFichier(QStringLiteral("Ecriture Error"),
                            QStringLiteral("Le paramètre n'a pas pu être enregistré dans Solvarin.ini : ") +
                                FichierINI::RaisonRefus());
    }
    return false;
}
