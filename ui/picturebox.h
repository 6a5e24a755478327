#pragma once

#include <QLabel>

// A small picture that acts as a command (the close and help pictures): it takes the focus from
// the keyboard and the mouse, shows a ring while it has it, and reports clicks.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
