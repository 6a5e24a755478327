#include "zonetexte.h"

#include <QCoreApplication>

QString ZoneTexte::echappe(QString texte) {
    texte.replace(u'\\', QStringLiteral("\\\\"));
    texte.replace(u'\r', QStringLiteral("\\r"));
    texte.replace(u'\n', QStringLiteral("\\n"));
    return texte;
}

namespace {

QString rvb(CouleurRVB c) {
    return QStringLiteral("#%1%2%3")
        .arg(c.rouge, 2, 16, QLatin1Char('0'))
        .arg(c.vert, 2, 16, QLatin1Char('0'))
        .arg(c.bleu, 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

ZoneTexte::Place &ZoneTexte::place(const char *nom, int index) {
    return m_places[QStringLiteral("%1(%2)").arg(QLatin1String(nom)).arg(index)];
}

void ZoneTexte::preparePourRequete() {
    Place &boite = place("txtInfos", m_numRepart);
    boite.couleur = {255, 255, 0};
    boite.texte = QStringLiteral("\r\nRequête envoyée");
    place("LabRetour", 0).texte.clear();
    place("LabRetour", m_numRepart).texte.clear();
}

QStringList ZoneTexte::lignes() const {
    QStringList sortie;
    for (auto it = m_places.cbegin(); it != m_places.cend(); ++it) {
        if (it->ecrite)
            sortie << it.key() + u'\t' + rvb(it->couleur) + u'\t' + echappe(it->texte);
    }
    return sortie;
}

void ZoneTexte::setCouleurTexteLabRetour(int index, CouleurRVB couleur) {
    Place &p = place("LabRetour", index);
    p.couleur = couleur;
    p.ecrite = true;
}

void ZoneTexte::setLabRetour(int index, const QString &texte) {
    Place &p = place("LabRetour", index);
    p.texte = texte;
    p.ecrite = true;
}

QString ZoneTexte::LabRetour(int index) const {
    return m_places.value(QStringLiteral("LabRetour(%1)").arg(index)).texte;
}

void ZoneTexte::setCouleurFondTxtInfos(int index, CouleurRVB couleur) {
    Place &p = place("txtInfos", index);
    p.couleur = couleur;
    p.ecrite = true;
}

void ZoneTexte::setTxtInfos(int index, const QString &texte) {
    Place &p = place("txtInfos", index);
    p.texte = texte;
    p.ecrite = true;
}

void ZoneTexte::laisseDeroulerEvenements() {
    QCoreApplication::processEvents();
}
