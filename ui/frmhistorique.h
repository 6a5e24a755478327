#pragma once

#include <QTimer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTabWidget;
class QTableView;
struct ReponseEnregistree;
struct Rupture;

// "Solvarin — Historique": every answer recorded, newest first, searched by code or designation as
// typed, by period and by state; and the shortage record ("Ruptures"): the products no account has had
// over the shortage period. A double-click asks for the line's code again (codeChoisi); Ctrl+S exports
// what the tab shows as CSV, as the list window does. The window never waits for the database: the
// history's thread reads it, and the tables follow every answer recorded.
class FrmHistorique : public QWidget {
    Q_OBJECT
public:
    explicit FrmHistorique(QWidget *parent = nullptr);

    // Writes what the current tab shows as CSV; false when the file could not be written.
    bool exporte(const QString &chemin);
    // Reads the history again with the filters as they are.
    void actualise();

signals:
    void codeChoisi(const QString &code);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void demandeExport();
    void afficheReponses(int recherche, const QList<ReponseEnregistree> &reponses);
    void afficheRuptures(int recherche, const QList<Rupture> &ruptures);
    void afficheEchec(int recherche, const QString &message);
    void choisit(const QModelIndex &index);

    QTabWidget *m_onglets;
    QLineEdit *m_recherche;
    QComboBox *m_periode;
    QComboBox *m_etats;
    QStandardItemModel *m_reponses;
    QStandardItemModel *m_ruptures;
    QTableView *m_tableReponses;
    QTableView *m_tableRuptures;
    QLabel *m_statut;
    QTimer m_saisie; // a search starts once the typing pauses
    int m_rechercheReponses = 0;
    int m_rechercheRuptures = 0;
};
