#include "toolkit/filedialog.h"

#include <QFileDialog>

#include <utility>

namespace velmora {

namespace {
FileDialogHook &currentHook()
{
    static FileDialogHook hook;
    return hook;
}
} // namespace

QString askFileName(QWidget *parent, const FileDialogRequest &request)
{
    // A copy, so that a hook may replace itself while it runs.
    if (const FileDialogHook hook = currentHook())
        return hook(request);
    if (request.kind == FileDialogRequest::Kind::Save)
        return QFileDialog::getSaveFileName(parent, request.caption, request.start, request.filter);
    return QFileDialog::getOpenFileName(parent, request.caption, request.start, request.filter);
}

FileDialogHook setFileDialogHook(FileDialogHook hook)
{
    return std::exchange(currentHook(), std::move(hook));
}

} // namespace velmora
