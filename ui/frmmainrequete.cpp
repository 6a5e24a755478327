// The availability query: input checks, the result pane, the exchange run with the commands disabled,
// the result area the exchange writes to, and the keys of the entry fields.
#include "frmmain.h"

#include "clavier.h"
#include "codeproduit.h"
#include "historique.h"
#include "modpharmaml.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <functional>

namespace {

QColor couleur(CouleurRVB c)
{
    return QColor(c.rouge, c.vert, c.bleu);
}

const CouleurRVB jaune{255, 255, 0};

// The font's own size or a smaller one, down to `minimum` points by half points: the largest at
// which `tient` says the text fits its place.
QFont policeAjustee(QFont police, qreal minimum, const std::function<bool(const QFont &)> &tient)
{
    while (police.pointSizeF() > minimum && !tient(police))
        police.setPointSizeF(std::max(minimum, police.pointSizeF() - 0.5));
    return police;
}

} // namespace

void frmMain::setCouleurTexteLabRetour(int index, CouleurRVB c)
{
    QLabel *label = m_labRetour.at(size_t(index));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, couleur(c));
    label->setPalette(p);
}

void frmMain::setLabRetour(int index, const QString &texte)
{
    QLabel *label = m_labRetour.at(size_t(index));
    label->setText(texte);
    if (index != 0)
        return;
    // The general label holds one line; a longer message goes on two in a smaller font.
    const QRect place = label->contentsRect();
    label->setFont(policeAjustee(m_policeMessage, 7, [&](const QFont &police) {
        const QRect pris = QFontMetrics(police).boundingRect(QRect(0, 0, place.width(), 10 * place.height()),
                                                             Qt::TextWordWrap, texte);
        return pris.width() <= place.width() && pris.height() <= place.height();
    }));
}

QString frmMain::LabRetour(int index) const
{
    return m_labRetour.at(size_t(index))->text();
}

void frmMain::setCouleurFondTxtInfos(int index, CouleurRVB c)
{
    QTextEdit *box = txtInfos(index);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, couleur(c));
    box->setPalette(p);
}

void frmMain::setTxtInfos(int index, const QString &texte)
{
    // The box breaks lines at CR LF; a lone CR or LF would start a line of its own in the editor.
    QString lignes = texte;
    lignes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextEdit *box = txtInfos(index);
    box->setPlainText(lignes);
    // The wholesaler's reason is read whole, without scrolling: a long one is written smaller.
    const QSize place = box->contentsRect().size();
    box->document()->setDefaultFont(policeAjustee(box->font(), 6, [&](const QFont &police) {
        QTextDocument essai;
        essai.setDocumentMargin(box->document()->documentMargin());
        essai.setDefaultFont(police);
        essai.setPlainText(lignes);
        essai.setTextWidth(place.width());
        return essai.size().width() <= place.width() && essai.size().height() <= place.height();
    }));
}

void frmMain::laisseDeroulerEvenements()
{
    QCoreApplication::processEvents();
}

ModPharmaML &frmMain::pharmaML()
{
    if (!m_pharmaML) {
        m_pharmaML = std::make_unique<ModPharmaML>(*this);
        m_pharmaML->setDelaiAttente(m_temporisation.attenteRetour);
    }
    return *m_pharmaML;
}

bool frmMain::controleSaisie()
{
    struct Controle {
        bool echoue;
        const char16_t *message;
        int champ;
    };
    const QString cip = txtDispo(2)->text();
    const Controle controles[] = {
        {txtDispo(0)->text().isEmpty(), u"Merci d'indiquer le nom (la raison sociale) de votre pharmacie !",
         0},
        {txtDispo(1)->text().isEmpty(), u"Merci d'indiquer votre numéro Adeli (ou numéro de pharmacien) !",
         1},
        {cip.isEmpty(), u"Merci d'indiquer un code CIP !", 2},
        {cip.size() < 7, u"Merci d'indiquer les 7 chiffres du code CIP !", 2},
        {cip.size() > 7 && cip.size() < 13,
         u"Merci d'indiquer les 7 chiffres du code CIP ou les 13 chiffres du code CIP13 !", 2},
        {cip.size() == 13 && !CodeProduit::estEan13Valide(cip),
         u"Le code CIP13 est incorrect (clé de contrôle) !", 2},
    };
    for (const Controle &c : controles) {
        if (c.echoue) {
            setCouleurTexteLabRetour(0, Couleurs::rouge);
            setLabRetour(0, QString::fromUtf16(c.message));
            txtDispo(c.champ)->setFocus();
            return false;
        }
    }
    return true;
}

void frmMain::cmdDispoClick(int index)
{
    ValideChampActif();
    if (!controleSaisie())
        return;

    const qint16 n = qint16(index + 1);
    m_numRepartCourant = n;
    // From here on a page that finishes loading leaves the web pane where it is.
    m_requeteEnCours = true;
    const QPointer<frmMain> vivant = this;
    m_tabParam->hide();
    m_picParam->hide();
    m_webInfos->hide();
    laisseDeroulerEvenements();
    if (!vivant)
        return;

    setTxtInfos(n, QStringLiteral("\r\nRequête envoyée"));
    setCouleurFondTxtInfos(n, jaune);
    txtInfos(n)->show();
    setLabRetour(0, QString());
    setLabRetour(n, QString());
    m_labRetour[size_t(n)]->show();

    cmdDispo(0)->setEnabled(false);
    cmdDispo(1)->setEnabled(false);
    m_cmdParam->setEnabled(false);
    const QString code = txtDispo(2)->text();
    pharmaML().PML_EnvoieUneRequete(code + QStringLiteral(",1"), n);
    if (!vivant)
        return;
    Historique::enregistreEchange(ReponseEnregistree::Source::Comptoir, n, code, pharmaML().dernierResultat(),
                                  pharmaML().RefMessage());
    m_requeteEnCours = false;
    cmdDispo(0)->setEnabled(true);
    cmdDispo(1)->setEnabled(true);
    m_cmdParam->setEnabled(true);
    // Ready for the next code: typed or scanned, it replaces this one.
    txtDispo(2)->setFocus();
    txtDispo(2)->selectAll();
}

bool frmMain::resultatAffiche() const
{
    return !m_txtInfos[size_t(m_numRepartCourant - 1)]->isHidden();
}

void frmMain::effaceResultat()
{
    m_webInfos->show();
    m_webInfos->refresh();
    txtInfos(1)->hide();
    txtInfos(2)->hide();
    for (int i = 0; i <= 2; ++i)
        setLabRetour(i, QString());
    txtDispo(2)->setFocus();
}

bool frmMain::txtDispoKeyDown(int, QKeyEvent *event)
{
    if (!Clavier::passeAuChampSuivant(*event))
        return false;
    // As a Tab typed by the user: delivered later, to whatever field has the focus then.
    if (QWidget *focus = QApplication::focusWidget())
        QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    return true;
}

bool frmMain::txtDispoKeyPress(int index, QKeyEvent *event)
{
    const bool refuse = Clavier::toucheRefusee(index, *event);
    // The first key typed in the CIP field after an answer, dropped or not, clears the answer.
    if (index == 2 && Clavier::caractere(*event) && resultatAffiche())
        effaceResultat();
    return refuse;
}
