#pragma once

#include "toolkit/printjob.h"

#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

namespace velmora {

/// The file formats a page or a picture can be saved as, chosen by the file's extension.
enum class ExportFormat
{
    Unknown,
    Pdf,
    Svg,
    Png
};

/// The format of a path by its extension, in any letter case.
ExportFormat exportFormatOf(const QString &path);

/// Resolution of a PNG export, in dots per design inch.
inline constexpr int kExportPngDpi = 300;

/// Size of a widget in design pixels (96 to the inch): its size on the screen taken back from
/// the zoom to whole pixels.
QSize designPixels(const QWidget *widget, double zoom);

/// Saves the widget and its children as they look, measured in design inches whatever the zoom
/// (zoom = screen pixels per design pixel). PDF and SVG are vector files with text kept as text;
/// PNG is a raster at kExportPngDpi. A PDF embeds the fonts it uses; an SVG embeds those of
/// fontFiles whose family it uses, for fonts a viewer cannot be expected to have. The file is
/// written whole or not at all: it replaces an existing file only once complete. Returns an
/// empty string on success, else why the file could not be written.
QString exportWidget(QWidget *widget, const QString &path, double zoom,
                     const QStringList &fontFiles = {});

/// Prints the widget on one page, as vector shapes and text, fitted to the printable area of
/// the paper and centred, once the print dialog (or the hook installed in its place) accepts.
/// Failed, with why, when the print module or the printer cannot be used.
PrintResult printWidget(QWidget *parent, QWidget *widget, double zoom, const QString &documentName,
                        QString *why);

/// The print module's function from the file at path (as QLibrary takes it), or null with why.
PrintFunction loadPrintModule(const QString &path, QString *why);

} // namespace velmora
