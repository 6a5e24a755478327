// The counter's queries: one account (F2, F3, its command) or every complete account (Enter in the CIP
// field) asked at once, each answer drawn in its own account's place as it comes, Escape to cancel.
#include "frmmain.h"

#include "codeproduit.h"
#include "comptes.h"
#include "historique.h"
#include "modpharmaml.h"
#include "requetescomptoir.h"
#include "tabstrip.h"
#include "tovabutton.h"
#include "webinfos.h"
#include "zonecompte.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace {

const CouleurRVB jaune{255, 255, 0};
const CouleurRVB gris{192, 192, 192};

} // namespace

void frmMain::prepareComptoir()
{
    m_comptoir = std::make_unique<RequetesComptoir>(m_temporisation.attenteRetour);
    connect(m_comptoir.get(), &RequetesComptoir::reponse, this, &frmMain::recoitReponse);
    connect(m_comptoir.get(), &RequetesComptoir::incident, this,
            [this](const QuestionComptoir &question, const QString &message) {
                const size_t i = size_t(question.compte - 1);
                if (m_questionAffichee[i] == question.numero)
                    m_affichage[i]->PML_AfficheErreur(message);
            });
    for (qint16 n = 1; n <= 2; ++n) {
        m_zonesCompte[size_t(n - 1)] = std::make_unique<ZoneCompte>(*this, n);
        m_affichage[size_t(n - 1)] = std::make_unique<ModPharmaML>(*m_zonesCompte[size_t(n - 1)]);
    }
    connect(txtDispo(2), &QLineEdit::textEdited, this, &frmMain::nettoieCip);
}

void frmMain::interrogeTousLesComptes()
{
    interroge(Comptes::complets());
}

void frmMain::cmdDispoClick(int index)
{
    interroge({qint16(index + 1)});
}

void frmMain::interroge(const QList<qint16> &comptes)
{
    ValideChampActif();
    const std::optional<CodeDemande> demande = controleSaisie();
    if (!demande)
        return;
    QLineEdit *cip = txtDispo(2);
    if (!comptes.isEmpty()) {
        m_tabParam->hide();
        m_picParam->hide();
        m_webInfos->hide();
        for (const qint16 n : comptes) {
            m_numRepartCourant = n;
            setTxtInfos(n, QStringLiteral("\r\nRequête envoyée"));
            setCouleurFondTxtInfos(n, jaune);
            txtInfos(n)->show();
            setLabRetour(0, QString());
            setLabRetour(n, QString());
            m_labRetour[size_t(n)]->show();
            const quint64 numero = m_comptoir->pose(n, demande->code, demande->peremption);
            m_questionAffichee[size_t(n - 1)] = numero;
            afficheCode(QuestionComptoir{numero, n, demande->code, demande->peremption, {}});
        }
        cmdDispo(0)->setEnabled(false);
        cmdDispo(1)->setEnabled(false);
        m_cmdParam->setEnabled(false);
    }
    // Ready for the next code at once: typed or scanned, it replaces this one.
    m_texteDemande = cip->text();
    cip->setFocus();
    cip->selectAll();
}

void frmMain::recoitReponse(const QuestionComptoir &question, const ResultatEchange &resultat)
{
    Historique::enregistreEchange(ReponseEnregistree::Source::Comptoir, question.compte, question.code,
                                  resultat, question.refMessage);
    // Only the latest code asked at an account is drawn; an answer to an earlier one is not.
    const size_t i = size_t(question.compte - 1);
    if (m_questionAffichee[i] != question.numero)
        return;
    m_affichage[i]->afficheResultat(resultat, {question.code});
    if (!requeteEnCours())
        finRequetes();
}

void frmMain::annuleRequetes()
{
    std::array<bool, 2> attendues{};
    for (size_t i = 0; i < attendues.size(); ++i)
        attendues[i] = m_questionAffichee[i] && m_comptoir->enCours(m_questionAffichee[i]);
    m_comptoir->annule();
    for (qint16 n = 1; n <= 2; ++n) {
        if (!attendues[size_t(n - 1)])
            continue;
        setTxtInfos(n, QStringLiteral("\r\nRequête annulée"));
        setCouleurFondTxtInfos(n, gris);
    }
    finRequetes();
}

bool frmMain::requeteEnCours() const
{
    return std::any_of(m_questionAffichee.begin(), m_questionAffichee.end(),
                       [this](quint64 numero) { return numero && m_comptoir->enCours(numero); });
}

void frmMain::finRequetes()
{
    cmdDispo(0)->setEnabled(true);
    cmdDispo(1)->setEnabled(true);
    m_cmdParam->setEnabled(true);
    QLineEdit *cip = txtDispo(2);
    cip->setFocus();
    // A next code already being typed or scanned is left as it is.
    if (cip->text() == m_texteDemande)
        cip->selectAll();
}

void frmMain::afficheCode(const QuestionComptoir &question)
{
    QString texte = question.code.toHtmlEscaped();
    if (question.peremption.isValid()) {
        QString expiration =
            QStringLiteral("Exp. ") + question.peremption.toString(QStringLiteral("dd/MM/yyyy"));
        if (question.peremption < QDate::currentDate())
            expiration = QStringLiteral("<span style=\"color:#FF0000\">%1 Périmé</span>").arg(expiration);
        texte += QStringLiteral(" · ") + expiration;
    }
    QLabel *label = m_labCode[size_t(question.compte - 1)];
    label->setText(texte);
    label->show();
}

void frmMain::cacheReponses()
{
    for (int n = 1; n <= 2; ++n) {
        txtInfos(n)->hide();
        m_labCode[size_t(n - 1)]->hide();
    }
}

void frmMain::nettoieCip(const QString &texte)
{
    const QString code = CodeProduit::sansBlancs(texte);
    if (code != texte)
        txtDispo(2)->setText(code);
}
