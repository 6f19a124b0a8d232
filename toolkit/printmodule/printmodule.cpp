// The print module: the only part of the program that links Qt's printing support.
#include "toolkit/printjob.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

using velmora::PrintJob;
using velmora::PrintResult;

extern "C" Q_DECL_EXPORT PrintResult velmoraPrint(QWidget *parent, const PrintJob &job)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job.documentName);
    printer.setCreator(job.creator);
    printer.setPageOrientation(job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    bool accepted = false;
    if (job.dialogHook) {
        accepted = job.dialogHook(printer);
    } else {
        QPrintDialog dialog(&printer, parent);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted)
        return PrintResult::Cancelled;
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintResult::Failed;
    job.paint(painter, printer.pageLayout().paintRectPixels(printer.resolution()).size(),
              printer.resolution());
    return painter.end() ? PrintResult::Printed : PrintResult::Failed;
}

// The type the program calls it by is the type it has.
static_assert(std::is_same_v<decltype(&velmoraPrint), velmora::PrintFunction>);
