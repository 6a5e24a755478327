// The product a wholesaler offers instead of the one asked: its code, in the account's result label,
// is a link that asks every complete account for it, as F7 does while it is shown.
#include "frmmain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace {

const QString debutRemplacant = QStringLiteral("Remplacé par : ");

} // namespace

void frmMain::setRemplacant(int index, const QString &code)
{
    m_remplacants.at(size_t(index - 1)) = code;
}

void frmMain::lieRemplacant(int n)
{
    QLabel *label = m_labRetour.at(size_t(n));
    const QString &code = m_remplacants.at(size_t(n - 1));
    QStringList lignes = m_textesRetour.at(size_t(n)).split(QStringLiteral("\r\n"));
    const QString debut = debutRemplacant + code;
    qsizetype lien = -1;
    for (qsizetype i = 0; i < lignes.size() && lien < 0 && !code.isEmpty(); ++i) {
        if (lignes[i] == debut || lignes[i].startsWith(debut + u' '))
            lien = i;
    }
    if (lien < 0) {
        // The wholesaler's words are shown as written, never as markup.
        label->setTextFormat(Qt::PlainText);
        return;
    }
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        if (i == lien)
            lignes[i] = debutRemplacant.toHtmlEscaped() + QStringLiteral("<a href=\"remplacant\">") +
                        code.toHtmlEscaped() + QStringLiteral("</a>") +
                        lignes[i].mid(debutRemplacant.size() + code.size()).toHtmlEscaped();
        else
            lignes[i] = lignes[i].toHtmlEscaped();
    }
    label->setTextFormat(Qt::RichText);
    label->setText(lignes.join(QStringLiteral("<br>")));
}

QString frmMain::remplacantAffiche() const
{
    const int n = m_numRepartCourant;
    if (n < 1 || n > 2 || !resultatAffiche() || m_labRetour.at(size_t(n))->textFormat() != Qt::RichText)
        return {};
    return m_remplacants.at(size_t(n - 1));
}

void frmMain::demandeRemplacant(const QString &code)
{
    if (code.isEmpty())
        return;
    txtDispo(2)->setText(code);
    interrogeTousLesComptes();
}
