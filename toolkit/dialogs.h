#pragma once

#include <QString>

#include <functional>
#include <utility>

class QPrinter;
class QWidget;

namespace velmora {

/// Receives a save question instead of the file dialog and answers the chosen path (empty for
/// cancel). It gets the dialog's caption, the suggested path and the name filters.
using SaveFileHook = std::function<QString(const QString &caption, const QString &suggested,
                                           const QStringList &filters)>;
/// Receives the printer instead of the print dialog; true prints, false cancels. It may set up
/// the printer as the dialog would (for example a PDF file as output).
using PrintDialogHook = std::function<bool(QPrinter &printer)>;

/// Asks for a file to save to, with the name filters in the form "PDF document (*.pdf)". The
/// first filter's extension is added to a name typed without one (the extension follows the
/// filter the user picks), and choosing an existing file asks before replacing it. Returns the
/// path, or an empty string when the user cancels. While a hook is installed, the hook answers
/// and nothing is shown.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QStringList &filters);
SaveFileHook setSaveFileHook(SaveFileHook hook);

/// Shows the print dialog for the printer; true when the user chose to print. While a hook is
/// installed, the hook answers and nothing is shown.
bool askPrint(QWidget *parent, QPrinter &printer);
PrintDialogHook setPrintDialogHook(PrintDialogHook hook);

/// Installs a hook for the lifetime of a scope and then restores the previous one.
template <class Hook, Hook (*Install)(Hook)> class ScopedHook
{
public:
    explicit ScopedHook(Hook hook)
        : m_previous(Install(std::move(hook)))
    {}
    ~ScopedHook() { Install(std::move(m_previous)); }
    ScopedHook(const ScopedHook &) = delete;
    ScopedHook &operator=(const ScopedHook &) = delete;

private:
    Hook m_previous;
};

using ScopedSaveFileHook = ScopedHook<SaveFileHook, &setSaveFileHook>;
using ScopedPrintDialogHook = ScopedHook<PrintDialogHook, &setPrintDialogHook>;

} // namespace velmora
