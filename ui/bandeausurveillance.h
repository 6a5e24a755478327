#pragma once

#include <QFrame>

class QLabel;

// The banner across the top of the main window that tells the watch's alerts: each one adds its line,
// and the banner stays until the pharmacist closes it.
class BandeauSurveillance : public QFrame {
    Q_OBJECT
public:
    explicit BandeauSurveillance(QWidget *parent);

    void ajoute(const QString &texte);
    // The alerts shown, one per line.
    QStringList lignes() const { return m_lignes; }
    void ferme();

private:
    QLabel *m_texte;
    QStringList m_lignes;
};
