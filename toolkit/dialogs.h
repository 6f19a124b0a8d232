#pragma once

#include "toolkit/printjob.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QWidget;

namespace velmora {

/// What a file dialog is asked for.
struct FileDialogRequest
{
    enum class Kind
    {
        Open,
        Save
    };
    Kind kind = Kind::Open;
    QString caption;
    /// The file or folder offered first.
    QString start;
    /// Name filters in the form "PDF document (*.pdf)"; the first is chosen at the start.
    QStringList filters;
};

/// Answers a file dialog instead of the user: the chosen path, or empty for Cancel.
using FileDialogHook = std::function<QString(const FileDialogRequest &request)>;

/// Asks for a file to open or to save and returns its path, empty when the user cancels. When
/// saving, the chosen filter's extension is added to a name typed without one, and choosing an
/// existing file asks before replacing it. While a hook is installed, the hook answers and no
/// dialog is shown: tests install one so that no dialog ever blocks them.
QString askFileName(QWidget *parent, const FileDialogRequest &request);
/// Installs a hook (an empty one restores the dialog) and returns the previous hook.
FileDialogHook setFileDialogHook(FileDialogHook hook);

/// The hook that answers in place of the print dialog (none: the dialog is shown), and the
/// installing of another, which returns the previous one.
PrintDialogHook printDialogHook();
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

using ScopedFileDialogHook = ScopedHook<FileDialogHook, &setFileDialogHook>;
using ScopedPrintDialogHook = ScopedHook<PrintDialogHook, &setPrintDialogHook>;

} // namespace velmora
