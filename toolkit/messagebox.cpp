#include "toolkit/messagebox.h"

#include <QMessageBox>

#include <utility>

namespace velmora {

namespace {
MessageBoxHook &currentHook()
{
    static MessageBoxHook hook;
    return hook;
}
} // namespace

void messageBox(QWidget *parent, const QString &text, const QString &title)
{
    // A copy, so that a hook may replace itself while it runs.
    if (const MessageBoxHook hook = currentHook()) {
        hook(text, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

MessageBoxHook setMessageBoxHook(MessageBoxHook hook)
{
    return std::exchange(currentHook(), std::move(hook));
}

} // namespace velmora
