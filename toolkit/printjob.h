#pragma once

// What the program asks of its print module, shared by both sides. Qt's printing support comes
// with the module, loaded when a page is first printed rather than with the program at every
// start.

#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace velmora {

/// Receives the printer instead of the print dialog; true prints, false cancels. It may set up
/// the printer as the dialog would (for example a PDF file as output).
using PrintDialogHook = std::function<bool(QPrinter &printer)>;

struct PrintJob
{
    QString documentName;
    QString creator;
    bool landscape = false;
    /// Answers in place of the print dialog when set.
    PrintDialogHook dialogHook;
    /// Draws the page with a painter begun on the printer, given the printable area in device
    /// pixels (the painter's origin is its corner) and the printer's dots per inch.
    std::function<void(QPainter &painter, QSizeF area, int resolution)> paint;
};

enum class PrintResult
{
    Printed,
    Cancelled,
    /// The printer did not start or did not finish.
    Failed
};

/// The module's one function, exported under this name.
inline constexpr char kPrintFunction[] = "velmoraPrint";
using PrintFunction = PrintResult (*)(QWidget *parent, const PrintJob &job);

} // namespace velmora
