#include "toolkit/keypress.h"

#include <QKeyEvent>
#include <QWidget>

namespace velmora {

EnterKeyFilter::EnterKeyFilter(QObject *parent, std::function<void()> handler)
    : QObject(parent)
    , m_handler(std::move(handler))
{}

bool EnterKeyFilter::isEnter(const QKeyEvent &event)
{
    const int key = event.key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // Ctrl+Enter is a line feed rather than Enter; Alt+Enter belongs to the window.
    return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool EnterKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isEnter(*static_cast<QKeyEvent *>(event))) {
        if (m_handler)
            m_handler();
        return true;
    }
    // The release of a consumed Enter must not reach the box either, or it would act on half a key.
    if (event->type() == QEvent::KeyRelease && isEnter(*static_cast<QKeyEvent *>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}

EnterKeyFilter *onEnterKey(QWidget *widget, std::function<void()> handler)
{
    auto *filter = new EnterKeyFilter(widget, std::move(handler));
    widget->installEventFilter(filter);
    return filter;
}

} // namespace velmora
