#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QMainWindow;
class QMenu;
class QTabWidget;
class QWidget;

namespace velmora {

/// The File menu's export and print commands: the page that is shown, or the chart alone, saved
/// as a PDF, SVG or PNG file or printed, always as the page looks and as vector drawing where
/// the destination allows it.
class WindowExport : public QObject
{
    Q_OBJECT

public:
    /// Adds "Export Page...", "Export Chart..." and "Print Page..." to the file menu; form is
    /// the client area built from the design data (it holds SSTab1 and picAstro). The symbol
    /// font in the program folder goes into SVG files that use it.
    WindowExport(QMainWindow *window, QWidget *form, QMenu *file, const QString &programFolder,
                 QObject *parent = nullptr);

    void mnuFileExportPage_Click();
    void mnuFileExportChart_Click();
    void mnuFilePrint_Click();

    /// The widget Export Page saves and Print Page prints: the current page of SSTab1.
    QWidget *shownPage() const;
    QWidget *chart() const { return m_chart; }

private:
    void exportTo(QWidget *what, const QString &caption, const QString &name);

    QMainWindow *m_window;
    QWidget *m_form;
    QTabWidget *m_tabs;
    QWidget *m_chart;
    QString m_folder;
    QStringList m_fontFiles;
};

} // namespace velmora
