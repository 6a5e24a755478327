#include "apercuclavier.h"

#include <QCoreApplication>
#include <QKeyEvent>

ApercuClavier::ApercuClavier(Gestionnaire gestionnaire) : m_gestionnaire(std::move(gestionnaire))
{
    QCoreApplication::instance()->installEventFilter(this);
}

ApercuClavier::~ApercuClavier()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool ApercuClavier::eventFilter(QObject *watched, QEvent *event)
{
    return event->type() == QEvent::KeyPress && m_gestionnaire(watched, static_cast<QKeyEvent *>(event));
}
