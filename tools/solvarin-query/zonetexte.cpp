#include "zonetexte.h"

#include <QCoreApplication>

namespace {

QString rvb(CouleurRVB c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.rouge, 2, 16, QLatin1Char('0'))
        .arg(c.vert, 2, 16, QLatin1Char('0'))
        .arg(c.bleu, 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

QString echappeSortie(const QString &texte)
{
    QString sortie;
    sortie.reserve(texte.size());
    for (const QChar c : texte) {
        const char16_t u = c.unicode();
        if (u == u'\\')
            sortie += QLatin1String("\\\\");
        else if (u == u'\r')
            sortie += QLatin1String("\\r");
        else if (u == u'\n')
            sortie += QLatin1String("\\n");
        else if (u == u'\t')
            sortie += QLatin1String("\\t");
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029)
            sortie += QStringLiteral("\\u%1").arg(QString::number(u, 16).toUpper(), 4, QLatin1Char('0'));
        else
            sortie += c;
    }
    return sortie;
}

ZoneTexte::Place &ZoneTexte::place(const char *nom, int index)
{
    return m_places[QStringLiteral("%1(%2)").arg(QLatin1String(nom)).arg(index)];
}

void ZoneTexte::preparePourRequete()
{
    Place &boite = place("txtInfos", m_numRepart);
    boite.couleur = {255, 255, 0};
    boite.texte = QStringLiteral("\r\nRequête envoyée");
    place("LabRetour", 0).texte.clear();
    place("LabRetour", m_numRepart).texte.clear();
}

QStringList ZoneTexte::lignes() const
{
    QStringList sortie;
    for (auto it = m_places.cbegin(); it != m_places.cend(); ++it) {
        if (it->ecrite)
            sortie << it.key() + u'\t' + rvb(it->couleur) + u'\t' + echappeSortie(it->texte);
    }
    return sortie;
}

void ZoneTexte::setCouleurTexteLabRetour(int index, CouleurRVB couleur)
{
    Place &p = place("LabRetour", index);
    p.couleur = couleur;
    p.ecrite = true;
}

void ZoneTexte::setLabRetour(int index, const QString &texte)
{
    Place &p = place("LabRetour", index);
    p.texte = texte;
    p.ecrite = true;
}

QString ZoneTexte::LabRetour(int index) const
{
    return m_places.value(QStringLiteral("LabRetour(%1)").arg(index)).texte;
}

void ZoneTexte::setCouleurFondTxtInfos(int index, CouleurRVB couleur)
{
    Place &p = place("txtInfos", index);
    p.couleur = couleur;
    p.ecrite = true;
}

void ZoneTexte::setTxtInfos(int index, const QString &texte)
{
    Place &p = place("txtInfos", index);
    p.texte = texte;
    p.ecrite = true;
}

void ZoneTexte::laisseDeroulerEvenements()
{
    QCoreApplication::processEvents();
}
