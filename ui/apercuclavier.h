#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

// A window's first look at every key pressed anywhere in the program, before the control that
// receives it: the handler is called for each delivery of a key press (the focused control's, then
// its parents' if the key is passed on); the key goes no further when it returns true.
class ApercuClavier : public QObject {
public:
    using Gestionnaire = std::function<bool(QObject *receveur, QKeyEvent *touche)>;

    explicit ApercuClavier(Gestionnaire gestionnaire);
    ~ApercuClavier() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Gestionnaire m_gestionnaire;
};
