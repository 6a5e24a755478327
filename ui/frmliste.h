#pragma once

#include <QWidget>

#include <chrono>

class QLabel;
class QLineEdit;
class QProgressBar;
class QTableView;
class ModeleListe;
class VerificationListe;
struct LigneListe;

// "Solvarin — Vérifier une liste": a list of products checked at every complete wholesaler account at
// once. Codes are typed or scanned in the code field (Enter adds them), pasted (Ctrl+V, any text or
// spreadsheet selection), or read from a text or CSV file (Ctrl+O, which replaces the list).
// Ctrl+Enter checks the list, Escape cancels what has not been sent (and closes the window when nothing
// is), Ctrl+S exports the table as CSV or as an Excel workbook, Delete removes the selected lines, Ctrl+Z
// undoes "Vider", a deletion, a paste or an opened file, Ctrl+R (or the context menu) adds the products
// the wholesalers offer instead of the selected ones, F6 opens the history. Every answer goes to the
// history. "Surveiller les manquants" and the table's context menu hand products to the watch. The list
// is kept in Liste.txt and the window's place in Solvarin.ini, section [Liste].
class FrmListe : public QWidget {
    Q_OBJECT
public:
    // `delai`: the longest wait for each wholesaler's reply.
    explicit FrmListe(QWidget *parent = nullptr, std::chrono::milliseconds delai = std::chrono::seconds(60));
    ~FrmListe() override;

    // Adds the lines of a text to the list, as a paste does.
    void ajoute(const QString &texte);
    // Asks every complete account for the whole list.
    void verifie();
    // Writes the table, as an Excel workbook when the name ends in ".xlsx", else as CSV; false when the
    // file could not be written.
    bool exporte(const QString &chemin);
    // Empties the list, once the pharmacist has confirmed it when it has lines.
    void vide();
    // Puts back the list as it was before the last "Vider", deletion, paste or opened file.
    void annuleModification();

signals:
    // The "Historique" link (F6).
    void historiqueDemande();
    // "Surveiller les manquants" (the lines available at no account) or the table's context menu (the
    // selected lines): the codes to watch.
    void surveiller(const QStringList &codes);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void colle();
    void ouvre();
    void demandeExport();
    void annuleOuFerme();
    void supprimeSelection();
    // The replacements the accounts name for the selected lines, each once, in table order.
    QStringList remplacantsSelection() const;
    void ajouteRemplacants();
    void menuContextuel(const QPoint &position);
    QStringList codesSelectionnes() const;
    void changeListe(const QList<LigneListe> &lignes);
    // The same, the list as it was kept for Ctrl+Z.
    void modifieListe(const QList<LigneListe> &lignes);
    void afficheEtat();
    void dimensionneColonnes();
    void replace();
    void memorisePlace();

    ModeleListe *m_modele;
    VerificationListe *m_verification;
    QLineEdit *m_code;
    QTableView *m_table;
    QProgressBar *m_progression;
    QLabel *m_etat;
    bool m_enregistrementRefuse = false;
    QLabel *m_echecs;
    QList<QList<LigneListe>> m_precedentes; // the lists Ctrl+Z brings back, the latest last
    bool m_dimensionnee = false;
};
