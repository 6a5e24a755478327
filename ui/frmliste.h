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
// Ctrl+Enter checks the list, Escape cancels what has not been sent, Ctrl+S exports the table as CSV,
// Delete removes the selected lines, Ctrl+R (or the context menu) adds the products the wholesalers
// offer instead of the selected ones, F6 opens the history. Every answer goes to the history.
// "Surveiller les manquants" and the table's context menu hand products to the watch. The list is kept
// in Liste.txt and the window's place in Solvarin.ini, section [Liste].
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
    // Writes the table as CSV; false when the file could not be written.
    bool exporte(const QString &chemin);

signals:
    // The "Historique" link (F6).
    void historiqueDemande();
    // "Surveiller les manquants" (the lines available at no account) or the table's context menu (the
    // selected lines): the codes to watch.
    void surveiller(const QStringList &codes);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void colle();
    void ouvre();
    void demandeExport();
    void annule();
    void vide();
    void supprimeSelection();
    // The replacements the accounts name for the selected lines, each once, in table order.
    QStringList remplacantsSelection() const;
    void ajouteRemplacants();
    void menuContextuel(const QPoint &position);
    QStringList codesSelectionnes() const;
    void changeListe(const QList<LigneListe> &lignes);
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
};
