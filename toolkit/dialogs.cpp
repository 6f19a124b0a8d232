#include "toolkit/dialogs.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace velmora {

namespace {

SaveFileHook &saveHook()
{
    static SaveFileHook hook;
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

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QStringList &filters)
{
    // A copy, so that a hook may replace itself while it runs.
    if (const SaveFileHook hook = saveHook())
        return hook(caption, suggested, filters);
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.setDefaultSuffix(filterSuffix(filters.first()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &filter) { dialog.setDefaultSuffix(filterSuffix(filter)); });
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

SaveFileHook setSaveFileHook(SaveFileHook hook)
{
    return std::exchange(saveHook(), std::move(hook));
}

bool askPrint(QWidget *parent, QPrinter &printer)
{
    if (const PrintDialogHook hook = printHook())
        return hook(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

PrintDialogHook setPrintDialogHook(PrintDialogHook hook)
{
    return std::exchange(printHook(), std::move(hook));
}

} // namespace velmora
