#pragma once

#include <QString>

#include <functional>

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
    /// Name filters, as QFileDialog takes them ("MIDI files (*.mid)").
    QString filter;
};

/// Answers a file dialog instead of the user: the chosen path, or empty for Cancel.
using FileDialogHook = std::function<QString(const FileDialogRequest &request)>;

/// Asks for a file to open or a file to save and returns its path, empty when the user cancels.
/// While a hook is installed, the hook answers and no dialog is shown: tests install one so that
/// no dialog ever blocks them.
QString askFileName(QWidget *parent, const FileDialogRequest &request);

/// Installs a hook (an empty one restores the dialog) and returns the previous hook.
FileDialogHook setFileDialogHook(FileDialogHook hook);

/// Installs a hook for the lifetime of a scope and then restores the previous one.
class ScopedFileDialogHook
{
public:
    explicit ScopedFileDialogHook(FileDialogHook hook)
        : m_previous(setFileDialogHook(std::move(hook)))
    {}
    ~ScopedFileDialogHook() { setFileDialogHook(std::move(m_previous)); }
    ScopedFileDialogHook(const ScopedFileDialogHook &) = delete;
    ScopedFileDialogHook &operator=(const ScopedFileDialogHook &) = delete;

private:
    FileDialogHook m_previous;
};

} // namespace velmora
