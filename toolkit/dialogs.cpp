#include "toolkit/dialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace velmora {

namespace {

FileDialogHook &fileHook()
{
    static FileDialogHook hook;
    return hook;
}

PrintDialogHook &printHook()
{
    static PrintDialogHook hook;
    return hook;
}

// "PDF document (*.pdf)" -> "pdf".
QString filterSuffix(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

QString askFileName(QWidget *parent, const FileDialogRequest &request)
{
    // A copy, so that a hook may replace itself while it runs.
    if (const FileDialogHook hook = fileHook())
        return hook(request);
    QFileDialog dialog(parent, request.caption);
    const bool saving = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (saving && !request.filters.isEmpty()) {
        dialog.setDefaultSuffix(filterSuffix(request.filters.first()));
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString &filter) { dialog.setDefaultSuffix(filterSuffix(filter)); });
    }
    dialog.selectFile(request.start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

FileDialogHook setFileDialogHook(FileDialogHook hook)
{
    return std::exchange(fileHook(), std::move(hook));
}

PrintDialogHook printDialogHook()
{
    return printHook();
}

PrintDialogHook setPrintDialogHook(PrintDialogHook hook)
{
    return std::exchange(printHook(), std::move(hook));
}

} // namespace velmora
