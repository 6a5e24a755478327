// The window's stored layout: every control with its container, position (in twips, 15 per pixel),
// caption, font, colours and visibility; the tab order and the stacking of the lower area.
#include "frmmain.h"

#include "champsrequis.h"
#include "commandes.h"
#include "fichierini.h"
#include "picturebox.h"
#include "repartiteurs.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

#include <cmath>

namespace {

int pixels(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

QRect fromTwips(QRect twips)
{
    return {pixels(twips.x()), pixels(twips.y()), pixels(twips.width()), pixels(twips.height())};
}

void place(QWidget *w, const char *name, QRect twips)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(fromTwips(twips));
}

void setBackground(QWidget *w, QColor colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

void setTextColour(QWidget *w, QColor colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

QFont tahoma(qreal points, bool bold = false)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

const QColor lightYellow(255, 255, 192);
const QColor pictureGrey(224, 224, 224);
const QColor red(255, 0, 0);

} // namespace

QLabel *frmMain::label(QWidget *parent, const char *name, const QString &caption, QRect twips)
{
    auto *l = new QLabel(caption, parent);
    place(l, name, twips);
    l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return l;
}

void frmMain::construitControles()
{
    setWindowTitle(QStringLiteral("Disponibilité Pharma-ML par le module Ardevio (agréé Pharma-ML 1.0)"));
    setFont(tahoma(9));

    m_pic = new QLabel(this);
    m_pic->setObjectName(QStringLiteral("Pic"));

    m_picAide = new PictureBox(m_pic);
    place(m_picAide, "PicAide", {6870, 735, 305, 295});
    m_picAide->setPixmap(QPixmap(QStringLiteral(":/solvarin/aide.png")));
    setBackground(m_picAide, pictureGrey);
    m_picClose = new PictureBox(m_pic);
    place(m_picClose, "PicClose", {7275, 735, 300, 290});
    m_picClose->setPixmap(QPixmap(QStringLiteral(":/solvarin/close.png")));
    setBackground(m_picClose, pictureGrey);

    // Labels first: they lie on the skin beneath every other control.
    QLabel *label2 = label(m_pic, "Label2", QStringLiteral("&Nom de Pharmacie : "), {180, 1650, 1740, 330});
    QLabel *label3 = label(m_pic, "Label3", QStringLiteral("N° &ADELI : "), {4755, 1650, 1110, 330});
    QLabel *label1 = label(m_pic, "Label1", QStringLiteral("Tapez le &CIP : "), {540, 2145, 1350, 330});
    // Beside the CIP field, down to the query commands: a long message takes two lines.
    m_labRetour[0] = label(m_pic, "LabRetour0", QString(), {3675, 2145, 5370, 390});
    m_labRetour[0]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_labRetour[0]->setWordWrap(true);
    m_policeMessage = tahoma(9, true);
    m_labRetour[0]->setFont(m_policeMessage);
    m_labRetour[0]->setTextFormat(Qt::PlainText);
    m_labSansParam =
        label(m_pic, "LabSansParam",
              QStringLiteral("Pour accéder à la disponibilité paramétrez au moins un répartiteur"),
              {780, 2520, 7470, 330});
    m_labSansParam->setFont(tahoma(11.25, true));
    setTextColour(m_labSansParam, red);
    m_labSansParam->hide();
    const std::array<QRect, 2> resultLabels{QRect{240, 4035, 4095, 840}, QRect{4800, 4035, 4125, 840}};
    for (int n = 1; n <= 2; ++n) {
        QLabel *l =
            label(m_pic, n == 1 ? "LabRetour1" : "LabRetour2", QString(), resultLabels[size_t(n - 1)]);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setWordWrap(true);
        // The wholesaler's words are shown as written, never as markup.
        l->setTextFormat(Qt::PlainText);
        connect(l, &QLabel::linkActivated, this, [this, n] { interrogeCode(m_remplacants[size_t(n - 1)]); });
        m_labRetour[size_t(n)] = l;
    }
    label(m_pic, "Label9", QStringLiteral("Solvarin, une réalisation Ardevio — Pharma-ML 1.0"),
          {1770, 4950, 5115, 330});
    m_labAdresse = label(m_pic, "LabAdresse", QString(), {6915, 4950, 2280, 330});
    QFont link = tahoma(9);
    link.setUnderline(true);
    m_labAdresse->setFont(link);
    setTextColour(m_labAdresse, QColor(0, 0, 255));

    const std::array<QRect, 3> identity{QRect{1965, 1605, 2580, 330}, QRect{5880, 1605, 1290, 330},
                                        QRect{1965, 2100, 1620, 330}};
    // The CIP field takes a 7-digit CIP, a 13-digit CIP13 (wide enough to show it) or what a 2D
    // scanner types, which may be longer than a box's code should be and is then refused whole.
    const std::array<int, 3> maxLength{32767, 9, 32767};
    for (int i = 0; i <= 2; ++i) {
        auto *field = new QLineEdit(m_pic);
        place(field, QStringLiteral("TxtDispo%1").arg(i).toLatin1().constData(), identity[size_t(i)]);
        field->setMaxLength(maxLength[size_t(i)]);
        setBackground(field, lightYellow);
        txtDispo(i) = field;
    }
    label2->setBuddy(txtDispo(0));
    label3->setBuddy(txtDispo(1));
    label1->setBuddy(txtDispo(2));

    cmdDispo(0) = Commandes::creer(Commandes::Bouton::Dispo1, m_pic);
    place(cmdDispo(0), "cmdDispo0", {255, 2550, 4125, 315});
    cmdDispo(1) = Commandes::creer(Commandes::Bouton::Dispo2, m_pic);
    place(cmdDispo(1), "cmdDispo1", {4830, 2550, 4125, 315});

    const std::array<QRect, 2> boxes{QRect{795, 3075, 2955, 870}, QRect{5385, 3075, 2955, 870}};
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(11.25);
    arial.setBold(true);
    for (int n = 1; n <= 2; ++n) {
        auto *box = new QTextEdit(m_pic);
        place(box, n == 1 ? "txtInfos1" : "txtInfos2", boxes[size_t(n - 1)]);
        box->setAcceptRichText(false);
        box->setFont(arial);
        box->hide();
        txtInfos(n) = box;
        QLabel *code = label(m_pic, n == 1 ? "LabCode1" : "LabCode2", QString(),
                             boxes[size_t(n - 1)].translated(0, -195).adjusted(0, 0, 585, 195 - 870));
        code->setFont(tahoma(8));
        code->setTextFormat(Qt::RichText);
        code->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        code->hide();
        m_labCode[size_t(n - 1)] = code;
    }

    m_webInfos = new WebInfos(m_pic);
    place(m_webInfos, "WebInfos", {180, 2895, 9000, 1935});
    // The skin draws the pane's frame; the page sits on the same paper.
    m_webInfos->setFrameShape(QFrame::NoFrame);
    setBackground(m_webInfos, QColor(0xFB, 0xFC, 0xFC));
    m_webInfos->hide();

    m_tabParam = new TabStrip(m_pic);
    place(m_tabParam, "TabParam", {165, 2910, 8985, 1965});
    m_tabParam->addTab(QStringLiteral("Répartiteur N°1"));
    m_tabParam->addTab(QStringLiteral("Répartiteur N°2"));
    m_tabParam->hide();

    m_picParam = new QWidget(m_pic);
    place(m_picParam, "PicParam", {255, 3345, 8775, 1440});
    m_picParam->hide();
    // Installed, the settings live in the user's folder, not beside the program: say which.
    m_picParam->setToolTip(QStringLiteral("Paramètres enregistrés dans ") +
                           QDir::toNativeSeparators(FichierINI::repertoireProgramme()));

    QLabel *label4 = label(m_picParam, "Label4", QStringLiteral("&Répartiteur : "), {795, 60, 1215, 330});
    QLabel *label5 =
        label(m_picParam, "Label5", QStringLiteral("Code &Etablissement : "), {5235, 60, 1905, 330});
    QLabel *label8 =
        label(m_picParam, "Label8", QStringLiteral("&URL de connexion : "), {105, 435, 1905, 330});
    QLabel *label6 =
        label(m_picParam, "Label6", QStringLiteral("&Identifiant Client : "), {105, 840, 1905, 330});
    QLabel *label7 = label(m_picParam, "Label7", QStringLiteral("Clef &secrète : "), {3885, 840, 1470, 240});
    m_labDemandeInfos = label(m_picParam, "LabDemandeInfos",
                              QStringLiteral("(Demandez vos paramètres Pharma-ML à votre répartiteur)"),
                              {60, 1200, 8625, 210});
    m_labDemandeInfos->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(m_labDemandeInfos, red);
    m_labDemandeInfos->hide();

    m_cboDispo = new QComboBox(m_picParam);
    place(m_cboDispo, "cboDispo", {2070, 0, 3150, 330});
    m_cboDispo->setEditable(true);
    m_cboDispo->setInsertPolicy(QComboBox::NoInsert);
    m_cboDispo->setCompleter(nullptr);
    m_cboDispo->setMaxVisibleItems(Repartiteurs::noms().size());
    for (const QString &name : Repartiteurs::noms())
        m_cboDispo->addItem(name, 0);
    m_cboDispo->setCurrentIndex(-1);

    const std::array<QRect, 5> account{QRect{4905, 0, 225, 330}, QRect{7170, 15, 1080, 330},
                                       QRect{2070, 412, 5235, 330}, QRect{2085, 810, 1080, 330},
                                       QRect{5370, 810, 1080, 330}};
    for (int i = 3; i <= 7; ++i) {
        auto *field = new QLineEdit(m_picParam);
        place(field, QStringLiteral("TxtDispo%1").arg(i).toLatin1().constData(), account[size_t(i - 3)]);
        setBackground(field, Qt::white);
        txtDispo(i) = field;
    }
    txtDispo(3)->hide();
    txtDispo(7)->setEchoMode(QLineEdit::Password);
    ChampsRequis::installe(txtDispo(0), txtDispo(4), txtDispo(5), txtDispo(6), txtDispo(7));
    label4->setBuddy(m_cboDispo);
    label5->setBuddy(txtDispo(4));
    label8->setBuddy(txtDispo(5));
    label6->setBuddy(txtDispo(6));
    label7->setBuddy(txtDispo(7));

    m_cmdParam = Commandes::creer(Commandes::Bouton::Param, m_pic);
    place(m_cmdParam, "cmdParam", {180, 4920, 1620, 300});

    // Stacking of the lower area, top first: settings pane, tab strip, web pane, result boxes.
    for (QWidget *w :
         std::initializer_list<QWidget *>{txtInfos(1), txtInfos(2), m_webInfos, m_tabParam, m_picParam})
        w->raise();

    // The skin and the settings pane hold the controls but take no focus of their own.
    m_pic->setFocusPolicy(Qt::NoFocus);
    m_picParam->setFocusPolicy(Qt::NoFocus);
    const std::initializer_list<QWidget *> order{
        txtDispo(0), txtDispo(1), txtDispo(2), cmdDispo(0),          cmdDispo(1), m_cboDispo,
        txtDispo(4), txtDispo(5), txtDispo(6), txtDispo(7),          m_picAide,   m_cmdParam,
        txtDispo(3), txtInfos(2), txtInfos(1), m_tabParam->tabBar(), m_webInfos,  m_picClose};
    QWidget *previous = nullptr;
    for (QWidget *w : order) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}
