#include "classeurliste.h"

#include "remplacefichier.h"
#include "tableauliste.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <xlsxwriter.h>

namespace {

// A workbook's formats are made once per look and belong to the workbook.
class Formats {
public:
    explicit Formats(lxw_workbook *classeur) : m_classeur(classeur) {}

    lxw_format *entete()
    {
        if (!m_entete) {
            m_entete = workbook_add_format(m_classeur);
            format_set_bold(m_entete);
        }
        return m_entete;
    }
    lxw_format *texte() { return deCle(QStringLiteral("@"), {}); }
    lxw_format *montant(int decimales)
    {
        return deCle(QStringLiteral("#,##0.") + QString(decimales, u'0') + QStringLiteral(" \"€\""), {});
    }
    lxw_format *etat(quint32 fond) { return deCle(QStringLiteral("@"), fond); }

private:
    lxw_format *deCle(const QString &nombre, std::optional<quint32> fond)
    {
        const QString cle = nombre + u'|' + (fond ? QString::number(*fond) : QString());
        lxw_format *&format = m_parCle[cle];
        if (!format) {
            format = workbook_add_format(m_classeur);
            format_set_num_format(format, nombre.toUtf8().constData());
            if (fond) {
                format_set_bg_color(format, *fond);
                format_set_pattern(format, LXW_PATTERN_SOLID);
            }
        }
        return format;
    }

    lxw_workbook *m_classeur;
    lxw_format *m_entete = nullptr;
    QHash<QString, lxw_format *> m_parCle;
};

lxw_error ecritCellule(lxw_worksheet *feuille, lxw_row_t r, lxw_col_t c, const CelluleTableau &cellule,
                       Formats &formats)
{
    if (cellule.texte.isEmpty())
        return LXW_NO_ERROR;
    switch (cellule.genre) {
    case CelluleTableau::Genre::Entier:
        return worksheet_write_number(feuille, r, c, cellule.texte.toDouble(), nullptr);
    case CelluleTableau::Genre::Montant: {
        QString point = cellule.texte;
        const int decimales = int(point.size() - point.indexOf(u',') - 1);
        return worksheet_write_number(feuille, r, c, point.replace(u',', u'.').toDouble(),
                                      formats.montant(decimales));
    }
    case CelluleTableau::Genre::Texte:
        break;
    }
    // Written as a string, never as a number or a formula: a 13-digit code stays its 13 digits.
    lxw_format *format = cellule.fond ? formats.etat(*cellule.fond) : formats.texte();
    return worksheet_write_string(feuille, r, c, cellule.texte.toUtf8().constData(), format);
}

// Column widths in characters, for the widest text of each column, within reason.
void dimensionne(lxw_worksheet *feuille, const QList<QList<CelluleTableau>> &tableau)
{
    const QList<CelluleTableau> &entete = tableau.first();
    for (qsizetype c = 0; c < entete.size(); ++c) {
        qsizetype largeur = 8;
        for (const QList<CelluleTableau> &rangee : tableau)
            largeur = std::max(largeur, rangee.value(c).texte.size() + 2);
        worksheet_set_column(feuille, lxw_col_t(c), lxw_col_t(c), double(std::min<qsizetype>(largeur, 50)),
                             nullptr);
    }
}

} // namespace

namespace ClasseurListe {

QString ecrit(const QString &chemin, const QList<LigneListe> &lignes, const QList<ReponsesCompte> &comptes)
{
    // The library writes to a file of its own; the workbook then replaces the target in one step, as the
    // CSV does, so that a failed export never leaves half a file.
    QTemporaryDir dossier;
    if (!dossier.isValid())
        return dossier.errorString();
    const QString brouillon = dossier.filePath(QStringLiteral("liste.xlsx"));
    lxw_workbook *classeur = workbook_new(QFile::encodeName(brouillon).constData());
    if (!classeur)
        return QStringLiteral("le classeur n'a pas pu être créé");
    lxw_worksheet *feuille = workbook_add_worksheet(classeur, "Liste");
    Formats formats(classeur);

    const QList<QList<CelluleTableau>> tableau = TableauListe::rangees(lignes, comptes);
    lxw_error erreur = LXW_NO_ERROR;
    for (qsizetype r = 0; r < tableau.size() && erreur == LXW_NO_ERROR; ++r) {
        for (qsizetype c = 0; c < tableau[r].size() && erreur == LXW_NO_ERROR; ++c) {
            erreur = r == 0
                         ? worksheet_write_string(feuille, 0, lxw_col_t(c),
                                                  tableau[0][c].texte.toUtf8().constData(), formats.entete())
                         : ecritCellule(feuille, lxw_row_t(r), lxw_col_t(c), tableau[r][c], formats);
        }
    }
    dimensionne(feuille, tableau);
    worksheet_freeze_panes(feuille, 1, 0);
    worksheet_autofilter(feuille, 0, 0, lxw_row_t(tableau.size() - 1), lxw_col_t(tableau.first().size() - 1));
    const lxw_error fermeture = workbook_close(classeur);
    if (erreur == LXW_NO_ERROR)
        erreur = fermeture;
    if (erreur != LXW_NO_ERROR)
        return QString::fromUtf8(lxw_strerror(erreur));

    QFile fichier(brouillon);
    if (!fichier.open(QIODevice::ReadOnly))
        return fichier.errorString();
    if (remplaceFichier(chemin, fichier.readAll()) != QFileDevice::NoError)
        return QStringLiteral("le fichier n'a pas pu être écrit");
    return {};
}

} // namespace ClasseurListe
