#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;
class Surveillance;

// "Solvarin — Surveillance des manquants": the watched products, each with its designation, since when
// it is watched, its last check, each complete account's state, and the dates and replacements the
// wholesalers announced. Delete removes the selected products; the table follows every round.
class FrmSurveillance : public QWidget {
    Q_OBJECT
public:
    FrmSurveillance(Surveillance &surveillance, QWidget *parent = nullptr);

    // Reads the list again.
    void actualise();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retireSelection();

    Surveillance &m_surveillance;
    QTableWidget *m_table;
    QLabel *m_etat;
};
