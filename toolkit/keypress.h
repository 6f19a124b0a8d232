#pragma once

#include "toolkit/controls.h"

#include <QObject>

class QKeyEvent;

#include <functional>

namespace velmora {

/// Acts on Enter in a text box: the key press is consumed (a line edit emits nothing, a
/// multi-line box inserts no line break) and the handler runs. Every other key, and Enter with
/// Ctrl or Alt held, is typed as usual.
class EnterKeyFilter : public QObject
{
    Q_OBJECT

public:
    EnterKeyFilter(QObject *parent, std::function<void()> handler);

    /// True for the keys the program treats as Enter.
    static bool isEnter(const QKeyEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_handler;
};

/// Installs an Enter filter on the widget (owned by it) and returns it.
EnterKeyFilter *onEnterKey(QWidget *widget, std::function<void()> handler);

/// Installs an Enter filter on every member of a control array; handler receives the index.
template <class T> void onEnterKey(const ControlArray<T> &members, std::function<void(int)> handler)
{
    for (const auto &[index, member] : members)
        onEnterKey(member, [handler, index = index] { handler(index); });
}

} // namespace velmora
