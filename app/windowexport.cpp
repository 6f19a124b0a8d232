#include "app/windowexport.h"

#include "sky/view/astrofont.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/formbuilder.h"
#include "toolkit/messagebox.h"
#include "toolkit/pageexport.h"
#include "toolkit/picturebox.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>

namespace velmora {

namespace {

const auto kAppTitle = QStringLiteral("Velmora");
constexpr int kStatusMilliseconds = 5000;

const QStringList &fileFilters()
{
    static const QStringList filters{QStringLiteral("PDF document (*.pdf)"),
                                     QStringLiteral("SVG drawing (*.svg)"),
                                     QStringLiteral("PNG image, 300 dpi (*.png)")};
    return filters;
}

// A tab caption as a file name: no access-key marks, nothing a file system refuses.
QString fileNameOf(QString caption)
{
    caption.remove(u'&');
    for (const QChar c : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'})
        caption.replace(c, u' ');
    return caption.simplified();
}

} // namespace

WindowExport::WindowExport(QMainWindow *window, QWidget *form, QMenu *file,
                           const QString &programFolder, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_form(form)
    , m_tabs(control<QTabWidget>(form, QStringLiteral("SSTab1")))
    , m_chart(control<PictureBox>(form, QStringLiteral("picAstro")))
    , m_folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
    , m_fontFiles{QDir(programFolder).filePath(QString::fromLatin1(AstroFont::kFileName))}
{
    const std::tuple<const char *, const char *, void (WindowExport::*)()> items[] = {
        {"mnuFileExportPage", "Export &Page...", &WindowExport::mnuFileExportPage_Click},
        {"mnuFileExportChart", "Export &Chart...", &WindowExport::mnuFileExportChart_Click},
        {"mnuFilePrint", "&Print Page...", &WindowExport::mnuFilePrint_Click},
    };
    for (const auto &[name, caption, handler] : items) {
        QAction *a = file->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
    }
    file->findChild<QAction *>(QStringLiteral("mnuFilePrint"))->setShortcut(QKeySequence::Print);
    file->addSeparator();
}

QWidget *WindowExport::shownPage() const
{
    return m_tabs->currentWidget();
}

void WindowExport::mnuFileExportPage_Click()
{
    exportTo(shownPage(), QStringLiteral("Export Page"),
             fileNameOf(m_tabs->tabText(m_tabs->currentIndex())));
}

void WindowExport::mnuFileExportChart_Click()
{
    exportTo(m_chart, QStringLiteral("Export Chart"), QStringLiteral("The Seven Planets chart"));
}

void WindowExport::exportTo(QWidget *what, const QString &caption, const QString &name)
{
    const QString path = askFileName(
        m_window, {FileDialogRequest::Kind::Save, caption,
                   QDir(m_folder).filePath(name + QStringLiteral(".pdf")), fileFilters()});
    if (path.isEmpty())
        return;
    m_folder = QFileInfo(path).absolutePath();
    const QString why = exportWidget(what, path, FormBuilder::zoom(m_form), m_fontFiles);
    if (!why.isEmpty()) {
        messageBox(m_window,
                   QStringLiteral("\"%1\" could not be saved.\n\n%2")
                       .arg(QDir::toNativeSeparators(path), why),
                   kAppTitle);
        return;
    }
    m_window->statusBar()->showMessage(
        QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path)), kStatusMilliseconds);
}

void WindowExport::mnuFilePrint_Click()
{
    const QString name = fileNameOf(m_tabs->tabText(m_tabs->currentIndex()));
    QString why;
    switch (printWidget(m_window, shownPage(), FormBuilder::zoom(m_form), name, &why)) {
    case PrintResult::Cancelled:
        return;
    case PrintResult::Failed:
        messageBox(m_window, QStringLiteral("\"%1\" could not be printed: %2").arg(name, why),
                   kAppTitle);
        return;
    case PrintResult::Printed:
        m_window->statusBar()->showMessage(QStringLiteral("Printed \"%1\"").arg(name),
                                           kStatusMilliseconds);
        return;
    }
}

} // namespace velmora
