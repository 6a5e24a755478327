#pragma once

#include "zoneresultat.h"

#include <QDate>
#include <QFont>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <array>
#include <chrono>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class ApercuClavier;
class FrmListe;
class QKeyEvent;
class QMouseEvent;
class QTextEdit;
class ModPharmaML;
class PictureBox;
class RequetesComptoir;
struct QuestionComptoir;
struct ResultatEchange;
class ZoneCompte;
class TabStrip;
class TOVAButton;
class WebInfos;

// After the web pane's download, its page is read up to `essaisInfos` times, `attenteInfos` ms apart;
// a query waits at most `attenteRetour` for the wholesaler's reply.
struct Temporisation {
    int attenteInfos = 200;
    int essaisInfos = 20;
    std::chrono::milliseconds attenteRetour{60000};
};

// The program's only window: a frameless skin holding the pharmacy's identity, the CIP field, the
// availability buttons of the two wholesaler accounts and a lower area that shows the web pane, the
// settings pane or the result pane. Every field is stored in the settings file as the user leaves it.
// The window is the result area of the one-product query.
class frmMain : public QWidget, public ZoneResultat {
    Q_OBJECT
public:
    // Builds the window from its stored layout and runs its start-up.
    explicit frmMain(QWidget *parent = nullptr, Temporisation temporisation = {});
    ~frmMain() override;

    // The wholesaler account (1 or 2) that the settings pane shows and a query fills.
    qint16 NumRepartCourant() const override { return m_numRepartCourant; }

    // Whether the six settings of account n are all non-empty.
    bool RepartComplet(int n) const;
    // Fills the settings pane from the settings file for account n.
    void ChargeRepart(int n);
    // Makes the pending edit of the focused field take effect, as leaving it would.
    void ValideChampActif();
    // Enter in the CIP field: the code asked at every complete account at once, each answer in its own
    // account's place as soon as it comes.
    void interrogeTousLesComptes();

    // The result area: LabRetour(0..2) and txtInfos(1..2).
    void setCouleurTexteLabRetour(int index, CouleurRVB couleur) override;
    void setLabRetour(int index, const QString &texte) override;
    QString LabRetour(int index) const override;
    void setCouleurFondTxtInfos(int index, CouleurRVB couleur) override;
    void setTxtInfos(int index, const QString &texte) override;
    void setRemplacant(int index, const QString &code) override;
    void laisseDeroulerEvenements() override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void construitControles();
    void chargement();
    void activation();

    void tabParamClick();
    void cmdParamClick();
    void webInfosDownloadComplete();
    void essaiLectureInfos();
    void txtInfosChange();
    void txtDispoValidate(int index);
    void cboDispoValidate();
    // Stores a field's value; a refusal is told to the user once for that value of that key.
    bool ecrire(const QString &key, const QString &value);
    void prendCipDuPressePapiers();

    // The counter's exchanges and the places each account's answers are drawn in.
    void prepareComptoir();
    // The availability query (index 0 or 1 for account 1 or 2) and the entry fields' keys.
    void cmdDispoClick(int index);
    // The code to ask and the expiry its 2D code gave; nothing (and the message shown) when refused.
    struct CodeDemande {
        QString code;
        QDate peremption;
    };
    std::optional<CodeDemande> controleSaisie();
    // Asks those accounts at once; an earlier query to one of them goes on, its answer no longer shown.
    void interroge(const QList<qint16> &comptes);
    // Every answer of the counter comes here, also one the screen no longer waits for.
    void recoitReponse(const QuestionComptoir &question, const ResultatEchange &resultat);
    // Escape: the queries under way stop, each waiting place says "Requête annulée".
    void annuleRequetes();
    // Whether an answer the screen waits for is still to come.
    bool requeteEnCours() const;
    // No answer awaited any more: the commands come back and the CIP field is ready for the next code.
    void finRequetes();
    // Above the account's box: the code asked and, read from a 2D code, the box's expiry (in red with
    // "Périmé" when past).
    void afficheCode(const QuestionComptoir &question);
    bool txtDispoKeyDown(int index, QKeyEvent *event);
    bool txtDispoKeyPress(int index, QKeyEvent *event);
    // A code pasted in the CIP field loses its blanks and line breaks.
    void nettoieCip(const QString &texte);
    // Keys of the CIP field a 2D scanner types: the separator, the letters of a lot; true when taken.
    bool cipKeyPress(QKeyEvent *event);
    void effaceResultat();
    // Hides both accounts' boxes and the codes above them.
    void cacheReponses();
    // Whether the current account's answer (or its "Requête envoyée") is on screen.
    bool resultatAffiche() const;

    // The replacement a wholesaler offers: its code in account n's result label is a link; the link,
    // or F7 while it is shown, asks every complete account for it.
    void lieRemplacant(int n);
    void demandeRemplacant(const QString &code);
    // The replacement shown as a link in the current account's result, or "".
    QString remplacantAffiche() const;

    // Dragging, closing, the window's keys and the links to the maker's site. True: the key is taken.
    bool keyDown(QObject *receiver, QKeyEvent *event);
    bool picMouse(QEvent *event);
    void aideEnLigne();
    void ouvreAccueil();
    // F4: the list window, made on first use.
    void ouvreListe();

    QLabel *label(QWidget *parent, const char *name, const QString &caption, QRect twips);
    QLineEdit *&txtDispo(int index) { return m_txtDispo[size_t(index)]; }
    QTextEdit *&txtInfos(int n) { return m_txtInfos[size_t(n - 1)]; }
    TOVAButton *&cmdDispo(int index) { return m_cmdDispo[size_t(index)]; }

    Temporisation m_temporisation;
    qint16 m_numRepartCourant = 1;
    bool m_activated = false;
    int m_essaisInfos = 0;
    QTimer m_lectureInfos;
    // The query whose answer each account's place shows or waits for (0: none yet).
    std::array<quint64, 2> m_questionAffichee{};
    // The CIP field's text when the last query started: selected again at the end if still there.
    QString m_texteDemande;
    QString m_refusSignale; // "key=value" of the last refused write the user was told of
    // Where a drag moved by hand started (window position and pointer), when the window system
    // cannot move the window itself.
    bool m_glisse = false;
    QPoint m_origineFenetre;
    QPoint m_originePointeur;

    QLabel *m_pic = nullptr;
    PictureBox *m_picClose = nullptr;
    PictureBox *m_picAide = nullptr;
    std::array<QLineEdit *, 8> m_txtDispo{};
    std::array<QLabel *, 3> m_labRetour{};
    // What each result label was given, as plain text, whatever markup shows its link.
    std::array<QString, 3> m_textesRetour{};
    std::array<QString, 2> m_remplacants{}; // the replacement's code each account's answer names
    // The general label's own font; long messages are shown smaller.
    QFont m_policeMessage;
    std::array<QTextEdit *, 2> m_txtInfos{};
    std::array<TOVAButton *, 2> m_cmdDispo{};
    // Above each account's box: the code its answer is about, and the box's expiry.
    std::array<QLabel *, 2> m_labCode{};
    TOVAButton *m_cmdParam = nullptr;
    QLabel *m_labSansParam = nullptr;
    QLabel *m_labDemandeInfos = nullptr;
    QLabel *m_labAdresse = nullptr;
    TabStrip *m_tabParam = nullptr;
    QWidget *m_picParam = nullptr;
    QComboBox *m_cboDispo = nullptr;
    WebInfos *m_webInfos = nullptr;
    FrmListe *m_liste = nullptr;

    std::unique_ptr<ApercuClavier> m_apercuClavier;
    std::unique_ptr<RequetesComptoir> m_comptoir;
    std::array<std::unique_ptr<ZoneCompte>, 2> m_zonesCompte;
    // Each account's answers shown in its own places.
    std::array<std::unique_ptr<ModPharmaML>, 2> m_affichage;
};
