#include "bandeausurveillance.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRegion>
#include <QToolButton>

namespace {
constexpr int marge = 8;
} // namespace

BandeauSurveillance::BandeauSurveillance(QWidget *parent) : QFrame(parent), m_texte(new QLabel(this))
{
    setObjectName(QStringLiteral("bandeauSurveillance"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(220, 255, 220));
    p.setColor(QPalette::WindowText, QColor(0, 96, 0));
    setPalette(p);
    QFont police = font();
    police.setBold(true);
    m_texte->setFont(police);
    m_texte->setWordWrap(true);
    auto *fermer = new QToolButton(this);
    fermer->setObjectName(QStringLiteral("fermer"));
    fermer->setText(QStringLiteral("×"));
    fermer->setToolTip(QStringLiteral("Fermer"));
    fermer->setAutoRaise(true);
    auto *ligne = new QHBoxLayout(this);
    ligne->setContentsMargins(6, 3, 3, 3);
    ligne->addWidget(m_texte, 1);
    ligne->addWidget(fermer, 0, Qt::AlignTop);
    connect(fermer, &QToolButton::clicked, this, &BandeauSurveillance::ferme);
    hide();
}

void BandeauSurveillance::ajoute(const QString &texte)
{
    m_lignes.append(texte);
    m_texte->setText(m_lignes.join(u'\n'));
    // Inside the skin's shape and its rounded corners.
    if (QWidget *fenetre = parentWidget()) {
        const QRect peau = fenetre->mask().isEmpty() ? fenetre->rect() : fenetre->mask().boundingRect();
        const int largeur = peau.width() - 2 * marge;
        setGeometry(peau.x() + marge, peau.y() + marge, largeur,
                    hasHeightForWidth() ? heightForWidth(largeur) : sizeHint().height());
    }
    show();
    raise();
}

void BandeauSurveillance::ferme()
{
    m_lignes.clear();
    hide();
}
