#include "toolkit/pageexport.h"

#include "toolkit/dialogs.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QLibrary>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QRawFont>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

#include <cmath>

namespace velmora {

namespace {

constexpr double kDesignDpi = 96;
// Fine enough that placing at device units loses nothing visible.
constexpr int kPdfResolution = 1200;
constexpr double kMetresPerInch = 0.0254;

const QWidget::RenderFlags kRenderFlags = QWidget::DrawWindowBackground | QWidget::DrawChildren;

const auto kCreator = QStringLiteral("Velmora");

bool writePdf(QWidget *widget, QSaveFile &file, QSize design, double zoom)
{
    QPdfWriter writer(&file);
    writer.setCreator(kCreator);
    writer.setTitle(QFileInfo(file.fileName()).completeBaseName());
    writer.setResolution(kPdfResolution);
    writer.setPageSize(
        QPageSize(QSizeF(design) / kDesignDpi, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF());
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double scale = kPdfResolution / kDesignDpi / zoom;
    painter.scale(scale, scale);
    widget->render(&painter, QPoint(), QRegion(), kRenderFlags);
    return painter.end();
}

// An @font-face rule for each font file whose family the drawing uses, so that the glyphs of
// a font only this program installs show in any SVG viewer.
QByteArray fontFaces(const QByteArray &svg, const QStringList &fontFiles)
{
    QByteArray rules;
    for (const QString &path : fontFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        const QString family = QRawFont(data, 12).familyName();
        if (family.isEmpty() || !svg.contains("font-family=\"" + family.toUtf8() + '"'))
            continue;
        rules += "@font-face { font-family: \"" + family.toUtf8() +
                 "\"; src: url(data:font/ttf;base64," + data.toBase64() + "); }\n";
    }
    return rules;
}

bool writeSvg(QWidget *widget, QSaveFile &file, QSize design, double zoom,
              const QStringList &fontFiles)
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setTitle(QFileInfo(file.fileName()).completeBaseName());
    generator.setDescription(kCreator);
    // One SVG unit to a design pixel, at the design's 96 dots per inch.
    generator.setResolution(static_cast<int>(kDesignDpi));
    generator.setSize(design);
    generator.setViewBox(QRect(QPoint(0, 0), design));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.scale(1 / zoom, 1 / zoom);
    widget->render(&painter, QPoint(), QRegion(), kRenderFlags);
    if (!painter.end())
        return false;
    QByteArray svg = buffer.data();
    const QByteArray faces = fontFaces(svg, fontFiles);
    const qsizetype defs = svg.indexOf("<defs>");
    if (!faces.isEmpty() && defs >= 0)
        svg.insert(defs + 6, "\n<style type=\"text/css\"><![CDATA[\n" + faces + "]]></style>\n");
    return file.write(svg) == svg.size();
}

bool writePng(QWidget *widget, QSaveFile &file, QSize design, double zoom)
{
    const double ratio = kExportPngDpi / kDesignDpi;
    QImage image(QSize(static_cast<int>(std::lround(design.width() * ratio)),
                       static_cast<int>(std::lround(design.height() * ratio))),
                 QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(Qt::white);
    // The widget paints itself at this many image pixels to its own pixel, sharp at any zoom.
    image.setDevicePixelRatio(ratio / zoom);
    widget->render(&image, QPoint(), QRegion(), kRenderFlags);
    image.setDevicePixelRatio(1);
    const int dotsPerMetre = static_cast<int>(std::lround(kExportPngDpi / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image.save(&file, "PNG");
}

} // namespace

ExportFormat exportFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"pdf")
        return ExportFormat::Pdf;
    if (suffix == u"svg")
        return ExportFormat::Svg;
    if (suffix == u"png")
        return ExportFormat::Png;
    return ExportFormat::Unknown;
}

QSize designPixels(const QWidget *widget, double zoom)
{
    return {qRound(widget->width() / zoom), qRound(widget->height() / zoom)};
}

QString exportWidget(QWidget *widget, const QString &path, double zoom,
                     const QStringList &fontFiles)
{
    const ExportFormat format = exportFormatOf(path);
    if (format == ExportFormat::Unknown)
        return QStringLiteral("Pictures can be saved as PDF (.pdf), SVG (.svg) or PNG (.png) "
                              "files only.");
    if (!(zoom > 0))
        zoom = 1;
    const QSize design = designPixels(widget, zoom);
    if (design.isEmpty())
        return QStringLiteral("There is nothing to save.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    bool written = false;
    switch (format) {
    case ExportFormat::Pdf:
        written = writePdf(widget, file, design, zoom);
        break;
    case ExportFormat::Svg:
        written = writeSvg(widget, file, design, zoom, fontFiles);
        break;
    case ExportFormat::Png:
        written = writePng(widget, file, design, zoom);
        break;
    case ExportFormat::Unknown:
        break;
    }
    if (!written) {
        const QString why = file.error() != QFileDevice::NoError
                                ? file.errorString()
                                : QStringLiteral("The picture could not be made.");
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

PrintFunction loadPrintModule(const QString &path, QString *why)
{
    QLibrary module(path);
    // Kept loaded once loaded: unloading Qt's printing support while it may still hold
    // resources is not worth the little memory.
    auto function = reinterpret_cast<PrintFunction>(module.resolve(kPrintFunction));
    if (!function && why)
        *why = QStringLiteral("printing is not available (%1).").arg(module.errorString());
    return function;
}

PrintResult printWidget(QWidget *parent, QWidget *widget, double zoom, const QString &documentName,
                        QString *why)
{
    if (!(zoom > 0))
        zoom = 1;
    const QSize design = designPixels(widget, zoom);
    static PrintFunction print = nullptr;
    if (!print) {
        print = loadPrintModule(
            QCoreApplication::applicationDirPath() + QStringLiteral("/velmora-print"), why);
        if (!print)
            return PrintResult::Failed;
    }
    PrintJob job;
    job.documentName = documentName;
    job.creator = kCreator;
    job.landscape = design.width() > design.height();
    job.dialogHook = printDialogHook();
    job.paint = [&](QPainter &painter, QSizeF area, int resolution) {
        // Rendered straight onto a printer, widgets come out as one large bitmap; recorded
        // first, they stay vector shapes and text. drawPicture() maps the picture's 96 dots
        // per inch to the printer's resolution itself.
        QPicture picture;
        widget->render(&picture, QPoint(), QRegion(), kRenderFlags);
        const double toDevice = resolution / kDesignDpi;
        const double fit = std::min(area.width() / (design.width() * toDevice),
                                    area.height() / (design.height() * toDevice));
        painter.translate((area.width() - design.width() * toDevice * fit) / 2,
                          (area.height() - design.height() * toDevice * fit) / 2);
        painter.scale(fit / zoom, fit / zoom);
        painter.drawPicture(0, 0, picture);
    };
    const PrintResult result = design.isEmpty() ? PrintResult::Failed : print(parent, job);
    if (result == PrintResult::Failed && why)
        *why = QStringLiteral("the printer did not start.");
    return result;
}

} // namespace velmora
