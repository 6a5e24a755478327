#pragma once

#include <QTimer>
#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;
class PictureBox;
class TabStrip;
class TOVAButton;
class WebInfos;

// After the web pane's download, its page is read up to `essaisInfos` times, `attenteInfos` ms apart.
struct Temporisation {
    int attenteInfos = 200;
    int essaisInfos = 20;
};

// The program's only window: a frameless skin holding the pharmacy's identity, the CIP field, the
// availability buttons of the two wholesaler accounts and a lower area that shows the web pane, the
// settings pane or the result pane. Every field is stored in the settings file as the user leaves it.
class frmMain : public QWidget {
    Q_OBJECT
public:
    // Builds the window from its stored layout and runs its start-up.
    explicit frmMain(QWidget *parent = nullptr, Temporisation temporisation = {});
    ~frmMain() override;

    // The wholesaler account (1 or 2) that the settings pane shows and a query fills.
    qint16 NumRepartCourant() const { return m_numRepartCourant; }

    // Whether the six settings of account n are all non-empty.
    bool RepartComplet(int n) const;
    // Fills the settings pane from the settings file for account n.
    void ChargeRepart(int n);
    // Makes the pending edit of the focused field take effect, as leaving it would.
    void ValideChampActif();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
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
    void prendCipDuPressePapiers();

    QLabel *label(QWidget *parent, const char *name, const QString &caption, QRect twips);
    QLineEdit *&txtDispo(int index) { return m_txtDispo[size_t(index)]; }
    QTextEdit *&txtInfos(int n) { return m_txtInfos[size_t(n - 1)]; }
    TOVAButton *&cmdDispo(int index) { return m_cmdDispo[size_t(index)]; }

    Temporisation m_temporisation;
    qint16 m_numRepartCourant = 1;
    bool m_activated = false;
    int m_essaisInfos = 0;
    QTimer m_lectureInfos;

    QLabel *m_pic = nullptr;
    PictureBox *m_picClose = nullptr;
    PictureBox *m_picAide = nullptr;
    std::array<QLineEdit *, 8> m_txtDispo{};
    std::array<QLabel *, 3> m_labRetour{};
    std::array<QTextEdit *, 2> m_txtInfos{};
    std::array<TOVAButton *, 2> m_cmdDispo{};
    TOVAButton *m_cmdParam = nullptr;
    QLabel *m_labSansParam = nullptr;
    QLabel *m_labDemandeInfos = nullptr;
    QLabel *m_labAdresse = nullptr;
    TabStrip *m_tabParam = nullptr;
    QWidget *m_picParam = nullptr;
    QComboBox *m_cboDispo = nullptr;
    WebInfos *m_webInfos = nullptr;
};
