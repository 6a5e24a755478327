// The availability query: input checks, the result area the exchange writes to, and the keys of the
// entry fields.
#include "frmmain.h"

#include "clavier.h"
#include "codegs1.h"
#include "codeproduit.h"
#include "modpharmaml.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <functional>

namespace {

QColor couleur(CouleurRVB c)
{
    return QColor(c.rouge, c.vert, c.bleu);
}

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
    m_textesRetour.at(size_t(index)) = texte;
    label->setText(texte);
    if (index != 0)
        lieRemplacant(index);
    // The general label holds one line, a longer message goes on two; an account's holds its prices,
    // and what follows them is written smaller rather than cut.
    const QRect place = label->contentsRect();
    const QFont base = index == 0 ? m_policeMessage : font();
    label->setFont(policeAjustee(base, index == 0 ? 7 : 6, [&](const QFont &police) {
        const QRect pris = QFontMetrics(police).boundingRect(QRect(0, 0, place.width(), 10 * place.height()),
                                                             Qt::TextWordWrap, texte);
        return pris.width() <= place.width() && pris.height() <= place.height();
    }));
}

QString frmMain::LabRetour(int index) const
{
    return m_textesRetour.at(size_t(index));
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

std::optional<frmMain::CodeDemande> frmMain::controleSaisie()
{
    struct Controle {
        bool echoue;
        QString message;
        int champ;
    };
    const QString cip = txtDispo(2)->text();
    const bool gs1 = CodeGs1::estCodeGs1(cip);
    const CodeGs1::Lecture lecture = gs1 ? CodeGs1::lis(cip) : CodeGs1::Lecture();
    const bool chiffres = CodeProduit::chiffresSeuls(cip);
    const Controle controles[] = {
        {txtDispo(0)->text().isEmpty(),
         QStringLiteral("Merci d'indiquer le nom (la raison sociale) de votre pharmacie !"), 0},
        {txtDispo(1)->text().isEmpty(),
         QStringLiteral("Merci d'indiquer votre numéro Adeli (ou numéro de pharmacien) !"), 1},
        {lecture.erreur.has_value(), lecture.erreur ? CodeGs1::message(*lecture.erreur) : QString(), 2},
        {!gs1 && cip.isEmpty(), QStringLiteral("Merci d'indiquer un code CIP !"), 2},
        {!gs1 && chiffres && cip.size() < 7, QStringLiteral("Merci d'indiquer les 7 chiffres du code CIP !"),
         2},
        {!gs1 && (!chiffres || (cip.size() > 7 && cip.size() != 13)),
         QStringLiteral("Merci d'indiquer les 7 chiffres du code CIP ou les 13 chiffres du code CIP13 !"), 2},
        {!gs1 && cip.size() == 13 && !CodeProduit::estEan13Valide(cip),
         QStringLiteral("Le code CIP13 est incorrect (clé de contrôle) !"), 2},
    };
    for (const Controle &c : controles) {
        if (c.echoue) {
            setCouleurTexteLabRetour(0, Couleurs::rouge);
            setLabRetour(0, c.message);
            // Whatever is typed or scanned next replaces the refused text.
            txtDispo(c.champ)->setFocus();
            txtDispo(c.champ)->selectAll();
            return std::nullopt;
        }
    }
    if (!gs1)
        return CodeDemande{cip, {}};
    // The box's code is asked as its CIP13 typed would be, and shown so.
    txtDispo(2)->setText(lecture.cip13);
    return CodeDemande{lecture.cip13, lecture.peremption};
}

bool frmMain::resultatAffiche() const
{
    return !m_txtInfos[size_t(m_numRepartCourant - 1)]->isHidden();
}

void frmMain::effaceResultat()
{
    m_webInfos->show();
    m_webInfos->refresh();
    cacheReponses();
    for (int i = 0; i <= 2; ++i)
        setLabRetour(i, QString());
    txtDispo(2)->setFocus();
}

bool frmMain::txtDispoKeyDown(int index, QKeyEvent *event)
{
    const bool entree = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (index == 2 && entree && !(event->modifiers() & ~Qt::KeypadModifier)) {
        interrogeTousLesComptes();
        return true;
    }
    if (!Clavier::passeAuChampSuivant(*event))
        return false;
    // As a Tab typed by the user: delivered later, to whatever field has the focus then.
    if (QWidget *focus = QApplication::focusWidget())
        QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    return true;
}

bool frmMain::txtDispoKeyPress(int index, QKeyEvent *event)
{
    // The first key typed in the CIP field after an answer, dropped or not, clears the answer; not
    // while an answer is awaited, which the next scan must not hide.
    if (index == 2 && Clavier::caractere(*event) && resultatAffiche() && !requeteEnCours())
        effaceResultat();
    if (index == 2 && cipKeyPress(event))
        return true;
    return Clavier::toucheRefusee(index, *event);
}

bool frmMain::cipKeyPress(QKeyEvent *event)
{
    QLineEdit *champ = txtDispo(2);
    // The group separator comes as Ctrl+], a control character the field itself would drop.
    const bool controle = event->modifiers() & Qt::ControlModifier;
    if ((controle && event->key() == Qt::Key_BracketRight) || event->text() == QChar(CodeGs1::separateur)) {
        champ->insert(QString(QChar(CodeGs1::separateur)));
        return true;
    }
    // Another character than a digit is kept when the text it makes may be a 2D code being typed.
    const QString texteTouche = event->text();
    const std::optional<int> code = Clavier::caractere(*event);
    if (controle || !code || *code < 32 || !Clavier::caractereRefuse(2, *code) || texteTouche.isEmpty())
        return false;
    QString texte = champ->text();
    const int debut = champ->hasSelectedText() ? champ->selectionStart() : champ->cursorPosition();
    texte.replace(debut, champ->selectedText().size(), texteTouche);
    if (!CodeGs1::peutDevenirCodeGs1(texte))
        return false;
    champ->insert(texteTouche);
    return true;
}
