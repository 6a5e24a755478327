// What the wholesalers offer instead of a listed product, added to the list in its turn.
#include "frmliste.h"

#include "modeleliste.h"

#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>

QStringList FrmListe::remplacantsSelection() const
{
    QList<int> rangees;
    for (const QModelIndex &i : m_table->selectionModel()->selectedRows())
        rangees.append(i.row());
    std::sort(rangees.begin(), rangees.end());
    QStringList codes;
    for (const int r : std::as_const(rangees)) {
        const LigneListe &ligne = m_modele->lignes().at(r);
        for (const ReponsesCompte &compte : m_modele->comptes()) {
            const QString code = compte.parCode.value(ligne.code).ligne.remplacant.codeProduit;
            if (ligne.valide() && !code.isEmpty() && !codes.contains(code))
                codes << code;
        }
    }
    return codes;
}

void FrmListe::ajouteRemplacants()
{
    const QStringList codes = remplacantsSelection();
    if (!codes.isEmpty())
        ajoute(codes.join(u'\n'));
}

void FrmListe::menuContextuel(const QPoint &position)
{
    const QStringList codes = remplacantsSelection();
    QMenu menu(this);
    const QString texte = codes.size() == 1
                              ? QStringLiteral("Ajouter le remplaçant %1 à la liste").arg(codes.first())
                              : QStringLiteral("Ajouter les remplaçants à la liste");
    QAction *ajout = menu.addAction(texte, this, &FrmListe::ajouteRemplacants);
    ajout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    ajout->setEnabled(!codes.isEmpty());
    menu.exec(m_table->viewport()->mapToGlobal(position));
}
