#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace velmora {

/// Receives the text and the title of a message instead of a dialog.
using MessageBoxHook = std::function<void(const QString &text, const QString &title)>;

/// Shows a modal message with only an OK button and returns when it is closed. While a hook is
/// installed, the hook receives the message instead and nothing is shown: tests install a
/// recording hook so that no dialog ever blocks them.
void messageBox(QWidget *parent, const QString &text, const QString &title);

/// Installs a hook (an empty one restores the dialog) and returns the previous hook.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

/// Installs a hook for the lifetime of a scope and then restores the previous one.
class ScopedMessageBoxHook
{
public:
    explicit ScopedMessageBoxHook(MessageBoxHook hook)
        : m_previous(setMessageBoxHook(std::move(hook)))
    {}
    ~ScopedMessageBoxHook() { setMessageBoxHook(std::move(m_previous)); }
    ScopedMessageBoxHook(const ScopedMessageBoxHook &) = delete;
    ScopedMessageBoxHook &operator=(const ScopedMessageBoxHook &) = delete;

private:
    MessageBoxHook m_previous;
};

} // namespace velmora
