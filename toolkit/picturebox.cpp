#include "toolkit/picturebox.h"

#include "core/units.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora {

namespace {

// The largest picture kept ready for repaints: 16 MB of pixels.
constexpr qint64 kMaxRenderedPixels = 4 * 1024 * 1024;

// Far outside any surface, yet safe to offset and to hand to the painter.
constexpr double kFarPixels = 1e6;
constexpr double kFullTurn = 2 * std::numbers::pi;
constexpr double kToDegrees = 180 / std::numbers::pi;

// Tolerates values such as 149.99999 that stand for a pixel border. Values beyond any surface,
// and values that are not numbers, are held far outside it instead of overflowing the int.
int pixelIndex(double twips)
{
    const double px = std::floor(twips / kTwipsPerPixel + 1e-6);
    if (std::isnan(px))
        return static_cast<int>(-kFarPixels);
    return static_cast<int>(std::clamp(px, -kFarPixels, kFarPixels));
}

bool allFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Text is measured at 96 dots per inch on every device, as the twip lengths assume; a QImage
// reports its own resolution, 96 dpi by default.
const QImage &metricsDevice()
{
    static const QImage device(1, 1, QImage::Format_RGB32);
    return device;
}

QPoint pixelAt(double x, double y)
{
    return {pixelIndex(x), pixelIndex(y)};
}

// Both corner pixels included, whichever way round the corners come.
QRect spanning(QPoint a, QPoint b)
{
    return {QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))};
}

QPointF exactPoint(double x, double y)
{
    return {twipsToPixelsF(x), twipsToPixelsF(y)};
}

QColor toColor(qint32 value)
{
    const DesignColour c = colourFromValue(value);
    return {c.red, c.green, c.blue};
}

QSize scaledPixels(QSize design, qreal scale)
{
    const QSizeF exact = QSizeF(design) * scale;
    return {static_cast<int>(std::ceil(exact.width() - 1e-6)),
            static_cast<int>(std::ceil(exact.height() - 1e-6))};
}

// The design picture over the back colour at scale device pixels per design pixel. Safe on any
// thread with a renderer of the thread's own.
QImage renderDesignLayer(QSvgRenderer &svg, QSize design, qreal scale, qint32 backColor)
{
    QImage image(scaledPixels(design, scale), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(toColor(backColor));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(design) * scale));
    }
    image.setDevicePixelRatio(scale);
    return image;
}

// A pen of w pixels covers w whole pixels across a straight line and reaches as far past each
// end.
QRect straightStroke(QPoint from, QPoint to, int width)
{
    const int before = (width - 1) / 2;
    const int after = width / 2;
    const QRect span = spanning(from, to);
    return {QPoint(span.left() - before, span.top() - before),
            QPoint(span.right() + after, span.bottom() + after)};
}

bool isRaster(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster;
}

} // namespace

/// One recorded drawing call, in twips, with the state it was drawn in.
struct PictureBox::Op
{
    enum class Kind : quint8
    {
        Line,
        Box,
        FilledBox,
        Shape,
        Text,
        RotatedText
    };

    Kind kind = Kind::Line;
    bool fill = false;    // Shape: filled with fillColour
    bool outline = false; // Shape: outline drawn in colour
    int width = 1;        // pen width in design pixels
    qint32 colour = 0;
    qint32 fillColour = 0;
    // Line and boxes: the two corners. Shape: centre and radius (x2). Text: the top-left corner.
    // Rotated text: its centre.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // Shape: start and span in degrees, span 0 for a whole circle. Rotated text: the angle.
    double start = 0, span = 0;
    // Text: measures in design pixels, taken when it was printed.
    double ascent = 0, lineHeight = 0, textWidth = 0, textHeight = 0;
    QString text;
    QFont font;

    friend bool operator==(const Op &, const Op &) = default;
};

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    m_font = m_widgetFont = designFontOf(font());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox::~PictureBox() = default;

void PictureBox::forgetPictures()
{
    m_layers[0] = m_layers[1] = {};
    m_prepared.reset();
    m_prefix = {};
    m_lastOps.clear();
    ++m_revision;
}

void PictureBox::record(Op &&op)
{
    m_ops.push_back(std::move(op));
    ++m_revision;
    m_rendered = QImage();
    update();
}

void PictureBox::clearDrawing()
{
    m_ops.clear();
    ++m_revision;
    m_rendered = QImage();
    m_currentX = 0;
    m_currentY = 0;
    update();
}

void PictureBox::setDesignPicture(const QImage &picture)
{
    m_designSvg.reset();
    m_designSvgData.clear();
    m_designImage = picture;
    forgetPictures();
    clearDrawing();
}

bool PictureBox::setDesignPicture(const QString &svgPath)
{
    m_designImage = QImage();
    m_designSvg.reset();
    m_designSvgData.clear();
    forgetPictures();
    QFile file(svgPath);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray data = file.readAll();
        auto renderer = std::make_unique<QSvgRenderer>(data);
        if (renderer->isValid()) {
            m_designSvg = std::move(renderer);
            m_designSvgData = std::move(data);
        }
    }
    clearDrawing();
    return m_designSvg != nullptr;
}

void PictureBox::clearDesignPicture()
{
    setDesignPicture(QImage());
}

bool PictureBox::hasDesignPicture() const
{
    return m_designSvg || !m_designImage.isNull();
}

void PictureBox::Cls()
{
    clearDrawing();
}

void PictureBox::setBackColor(qint32 colour)
{
    m_backColor = colour & 0xFFFFFF;
    forgetPictures();
    clearDrawing();
}

void PictureBox::setDrawWidth(int pixels)
{
    m_drawWidth = std::clamp(pixels, 1, 32767);
}

void PictureBox::setZoom(double zoom)
{
    if (!(zoom > 0) || !std::isfinite(zoom) || zoom == m_zoom)
        return;
    m_zoom = zoom;
    update();
}

void PictureBox::Line(double x1, double y1, double x2, double y2)
{
    Line(x1, y1, x2, y2, m_foreColor);
}

void PictureBox::Line(double x1, double y1, double x2, double y2, qint32 colour)
{
    if (m_penInvisible || !allFinite({x1, y1, x2, y2}))
        return;
    Op op;
    op.kind = Op::Kind::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.colour = colour;
    op.width = m_drawWidth;
    record(std::move(op));
}

void PictureBox::Box(double x1, double y1, double x2, double y2, bool filled)
{
    Box(x1, y1, x2, y2, m_foreColor, filled);
}

void PictureBox::Box(double x1, double y1, double x2, double y2, qint32 colour, bool filled)
{
    if (!allFinite({x1, y1, x2, y2}) || (!filled && m_penInvisible))
        return;
    Op op;
    op.kind = filled ? Op::Kind::FilledBox : Op::Kind::Box;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.colour = colour;
    op.width = m_drawWidth;
    record(std::move(op));
}

void PictureBox::Circle(double x, double y, double radius)
{
    Circle(x, y, radius, m_foreColor);
}

void PictureBox::Circle(double x, double y, double radius, qint32 colour)
{
    if (!allFinite({x, y, radius}) || (m_penInvisible && !m_fillSolid))
        return;
    Op op;
    op.kind = Op::Kind::Shape;
    op.x1 = x;
    op.y1 = y;
    op.x2 = std::abs(radius);
    op.fill = m_fillSolid;
    op.fillColour = m_fillColor;
    op.outline = !m_penInvisible;
    op.colour = colour;
    op.width = m_drawWidth;
    record(std::move(op));
}

void PictureBox::Pie(double x, double y, double radius, double startAngle, double endAngle)
{
    if (!allFinite({x, y, radius, startAngle, endAngle}) || startAngle == endAngle)
        return;
    double span = std::fmod(endAngle - startAngle, kFullTurn);
    if (span < 0)
        span += kFullTurn;
    if (span == 0)
        span = kFullTurn; // the ends differ by whole turns: the full disc
    Op op;
    op.kind = Op::Kind::Shape;
    op.x1 = x;
    op.y1 = y;
    op.x2 = std::abs(radius);
    // QPainterPath angles already run counter-clockwise on screen, as the caller's do.
    op.start = std::fmod(startAngle, kFullTurn) * kToDegrees;
    op.span = span * kToDegrees;
    op.fill = true;
    op.fillColour = m_fillColor;
    op.outline = !m_penInvisible;
    op.colour = m_foreColor;
    op.width = m_drawWidth;
    record(std::move(op));
}

void PictureBox::Print(const QString &text, bool newLine)
{
    const QFontMetricsF &fm = metrics();
    const qsizetype breaks = text.count(QLatin1Char('\n'));
    if (!text.isEmpty()) {
        Op op;
        op.kind = Op::Kind::Text;
        op.x1 = m_currentX;
        op.y1 = m_currentY;
        op.text = text;
        op.text.remove(QLatin1Char('\r'));
        op.font = m_font;
        op.colour = m_foreColor;
        op.ascent = fm.ascent();
        op.lineHeight = fm.height();
        record(std::move(op));
    }
    const double lineHeight = pixelsToTwips(fm.height());
    if (newLine) {
        m_currentX = 0;
        m_currentY += lineHeight * static_cast<double>(breaks + 1);
    } else if (breaks == 0) {
        m_currentX += TextWidth(text);
    } else {
        m_currentX += TextWidth(text.mid(text.lastIndexOf(QLatin1Char('\n')) + 1));
        m_currentY += lineHeight * static_cast<double>(breaks);
    }
}

void PictureBox::PrintRotated(const QString &text, double x, double y, double angleDegrees)
{
    if (!allFinite({x, y, angleDegrees}) || text.isEmpty())
        return;
    const QFontMetricsF &fm = metrics();
    Op op;
    op.kind = Op::Kind::RotatedText;
    op.x1 = x;
    op.y1 = y;
    op.start = angleDegrees;
    op.text = text;
    op.text.remove(QLatin1Char('\r'));
    op.font = m_font;
    op.colour = m_foreColor;
    op.ascent = fm.ascent();
    op.lineHeight = fm.height();
    op.textWidth = twipsToPixelsF(TextWidth(text));
    op.textHeight = twipsToPixelsF(TextHeight(text));
    record(std::move(op));
}

const QFontMetricsF &PictureBox::metrics() const
{
    if (!m_metrics)
        m_metrics = std::make_unique<QFontMetricsF>(m_font, &metricsDevice());
    return *m_metrics;
}

void PictureBox::setFontName(const QString &family)
{
    m_font.setFamily(family);
    m_metrics.reset();
}

void PictureBox::setFontSize(double points)
{
    if (points > 0 && std::isfinite(points)) {
        m_font.setPointSizeF(points);
        m_metrics.reset();
    }
}

void PictureBox::setFontBold(bool bold)
{
    if (m_font.bold() == bold)
        return;
    m_font.setBold(bold);
    m_metrics.reset();
}

void PictureBox::setFontItalic(bool italic)
{
    if (m_font.italic() == italic)
        return;
    m_font.setItalic(italic);
    m_metrics.reset();
}

QString PictureBox::fontName() const
{
    return m_font.family();
}

double PictureBox::fontSize() const
{
    if (m_font.pointSizeF() > 0)
        return m_font.pointSizeF();
    return m_font.pixelSize() * 72.0 / 96.0; // fonts given in pixels, at the surface's 96 dpi
}

bool PictureBox::fontBold() const
{
    return m_font.bold();
}

bool PictureBox::fontItalic() const
{
    return m_font.italic();
}

double PictureBox::TextWidth(const QString &text) const
{
    const QFontMetricsF &fm = metrics();
    double widest = 0;
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return pixelsToTwips(fm.horizontalAdvance(text));
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    for (const QString &line : plain.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return pixelsToTwips(widest);
}

double PictureBox::TextHeight(const QString &text) const
{
    const auto lines = static_cast<double>(text.count(QLatin1Char('\n')) + 1);
    return pixelsToTwips(metrics().height() * lines);
}

int PictureBox::recordedCount() const
{
    return static_cast<int>(m_ops.size());
}

QSize PictureBox::designSize() const
{
    return {qRound(width() / m_zoom), qRound(height() / m_zoom)};
}

double PictureBox::ScaleWidth() const
{
    return pixelsToTwips(designSize().width());
}

double PictureBox::ScaleHeight() const
{
    return pixelsToTwips(designSize().height());
}

const QImage &PictureBox::designLayer(qreal deviceScale) const
{
    const QSize design = designSize();
    for (const LayerCache &layer : m_layers) {
        if (layer.pixels == design && !layer.image.isNull() &&
            layer.image.devicePixelRatio() == deviceScale)
            return layer.image;
    }
    LayerCache &layer = m_layers[m_nextLayer];
    m_nextLayer = 1 - m_nextLayer;
    layer.pixels = design;
    layer.image = QImage();
    if (m_prepared) {
        const PreparedLayer prepared = std::move(*m_prepared);
        m_prepared.reset();
        if (prepared.pixels == design && prepared.scale == deviceScale)
            layer.image = prepared.images.get()[prepared.index];
    }
    if (layer.image.isNull())
        layer.image = renderDesignLayer(*m_designSvg, design, deviceScale, m_backColor);
    return layer.image;
}

void PictureBox::prepareDesignLayers(const std::vector<PictureBox *> &boxes)
{
    struct Job
    {
        QByteArray svg;
        QSize design;
        qreal scale;
        qint32 backColor;
    };
    std::vector<Job> jobs;
    std::vector<PictureBox *> prepared;
    for (PictureBox *box : boxes) {
        if (!box || !box->m_designSvg)
            continue;
        // What paintEvent() will ask for: the zoom times the screen's pixel ratio.
        jobs.push_back({box->m_designSvgData, box->designSize(),
                        box->m_zoom * box->devicePixelRatioF(), box->m_backColor});
        prepared.push_back(box);
    }
    if (jobs.empty())
        return;
    std::vector<PreparedLayer> keys;
    for (const Job &job : jobs)
        keys.push_back({job.design, job.scale, {}, keys.size()});
    // Each box keeps a share of the result, so the last one to go waits for the thread.
    const std::shared_future<std::vector<QImage>> images =
        std::async(std::launch::async, [jobs = std::move(jobs)] {
            std::vector<QImage> layers;
            for (const Job &job : jobs) {
                QSvgRenderer renderer(job.svg);
                layers.push_back(renderDesignLayer(renderer, job.design, job.scale, job.backColor));
            }
            return layers;
        }).share();
    for (size_t i = 0; i < prepared.size(); ++i) {
        prepared[i]->m_prepared = std::move(keys[i]);
        prepared[i]->m_prepared->images = images;
    }
}

void PictureBox::paintLayer(QPainter &painter, qreal deviceScale) const
{
    const QRectF area(QPointF(0, 0), QSizeF(designSize()));
    if (m_designSvg && isRaster(painter)) {
        // Rendering the design picture takes longer than everything drawn over it, so screens
        // and images get it from a cache made at their resolution.
        const QImage &layer = designLayer(deviceScale);
        if (!layer.isNull())
            painter.drawImage(QPointF(0, 0), layer);
        return;
    }
    painter.fillRect(area, toColor(m_backColor));
    if (m_designSvg) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        m_designSvg->render(&painter, area);
        painter.restore();
    } else if (!m_designImage.isNull()) {
        painter.drawImage(QPointF(0, 0), m_designImage);
    }
}

void PictureBox::paintOp(QPainter &painter, const Op &op) const
{
    switch (op.kind) {
    case Op::Kind::FilledBox: {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(spanning(pixelAt(op.x1, op.y1), pixelAt(op.x2, op.y2)),
                         toColor(op.colour));
        return;
    }
    case Op::Kind::Box: {
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QRect r = spanning(pixelAt(op.x1, op.y1), pixelAt(op.x2, op.y2));
        const QColor colour = toColor(op.colour);
        painter.fillRect(straightStroke(r.topLeft(), r.topRight(), op.width), colour);
        painter.fillRect(straightStroke(r.bottomLeft(), r.bottomRight(), op.width), colour);
        painter.fillRect(straightStroke(r.topLeft(), r.bottomLeft(), op.width), colour);
        painter.fillRect(straightStroke(r.topRight(), r.bottomRight(), op.width), colour);
        return;
    }
    case Op::Kind::Line: {
        const QPoint from = pixelAt(op.x1, op.y1);
        const QPoint to = pixelAt(op.x2, op.y2);
        if (from.x() == to.x() || from.y() == to.y()) {
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.fillRect(straightStroke(from, to, op.width), toColor(op.colour));
            return;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(toColor(op.colour), op.width, Qt::SolidLine, Qt::RoundCap));
        const QPointF centre(0.5, 0.5);
        painter.drawLine(QPointF(from) + centre, QPointF(to) + centre);
        return;
    }
    case Op::Kind::Shape: {
        const double r = twipsToPixelsF(op.x2);
        const QPointF centre = exactPoint(op.x1, op.y1);
        QPainterPath path;
        if (op.span == 0) {
            path.addEllipse(centre, r, r);
        } else {
            path.moveTo(centre);
            path.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), op.start, op.span);
            path.closeSubpath();
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(op.fill ? QBrush(toColor(op.fillColour)) : QBrush(Qt::NoBrush));
        if (op.outline)
            painter.setPen(
                QPen(toColor(op.colour), op.width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        else
            painter.setPen(Qt::NoPen);
        painter.drawPath(path);
        return;
    }
    case Op::Kind::Text:
    case Op::Kind::RotatedText: {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(op.font);
        painter.setPen(toColor(op.colour));
        QPointF topLeft;
        if (op.kind == Op::Kind::Text) {
            topLeft = QPointF(pixelAt(op.x1, op.y1));
        } else {
            painter.save();
            painter.translate(exactPoint(op.x1, op.y1));
            // QPainter turns positive angles clockwise on screen, which is what callers ask for.
            painter.rotate(op.start);
            topLeft = QPointF(-op.textWidth / 2, -op.textHeight / 2);
        }
        double baseline = topLeft.y() + op.ascent;
        if (!op.text.contains(QLatin1Char('\n'))) {
            painter.drawText(QPointF(topLeft.x(), baseline), op.text);
        } else {
            for (const QString &line : op.text.split(QLatin1Char('\n'))) {
                painter.drawText(QPointF(topLeft.x(), baseline), line);
                baseline += op.lineHeight;
            }
        }
        if (op.kind == Op::Kind::RotatedText)
            painter.restore();
        return;
    }
    }
}

void PictureBox::paintOps(QPainter &painter, size_t from, size_t to) const
{
    if (from >= to)
        return;
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (size_t i = from; i < to; ++i)
        paintOp(painter, m_ops[i]);
    painter.restore();
}

void PictureBox::paintPicture(QPainter &painter) const
{
    const QTransform t = painter.deviceTransform();
    paintLayer(painter, std::hypot(t.m11(), t.m12()));
    paintOps(painter, 0, m_ops.size());
}

QSize PictureBox::pixelSize(qreal ratio) const
{
    return scaledPixels(designSize(), ratio);
}

QImage PictureBox::blankImage(qreal ratio) const
{
    QImage image(pixelSize(ratio), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(ratio);
    image.fill(toColor(m_backColor));
    return image;
}

const QImage *PictureBox::rendered(qreal scale) const
{
    const QSizeF exact = QSizeF(designSize()) * scale;
    if (exact.width() * exact.height() > kMaxRenderedPixels)
        return nullptr;
    if (!m_rendered.isNull() && m_rendered.devicePixelRatio() == scale &&
        m_rendered.size() == pixelSize(scale))
        return &m_rendered;

    // A drawing often starts as the one before it did (the chart's rings, the calendar's title
    // bar); that part is kept as a picture, and only what follows it is drawn again.
    const size_t count = m_ops.size();
    size_t from = 0;
    QImage picture;
    const bool prefixFits =
        !m_prefix.image.isNull() && m_prefix.image.devicePixelRatio() == scale &&
        m_prefix.image.size() == pixelSize(scale) && m_prefix.ops.size() <= count &&
        std::equal(m_prefix.ops.begin(), m_prefix.ops.end(), m_ops.begin());
    if (prefixFits) {
        picture = m_prefix.image;
        from = m_prefix.ops.size();
    } else {
        const auto common = static_cast<size_t>(
            std::mismatch(m_ops.begin(), m_ops.end(), m_lastOps.begin(), m_lastOps.end()).first -
            m_ops.begin());
        picture = blankImage(scale);
        if (picture.isNull())
            return nullptr;
        QPainter painter(&picture);
        paintLayer(painter, scale);
        paintOps(painter, 0, common);
        painter.end();
        m_prefix = {};
        if (common > 0) {
            m_prefix.image = picture;
            m_prefix.ops.assign(m_ops.begin(), m_ops.begin() + static_cast<qsizetype>(common));
        }
        from = common;
    }
    if (from < count) {
        QPainter painter(&picture);
        paintOps(painter, from, count);
    }
    m_lastOps = m_ops;
    m_rendered = picture;
    return &m_rendered;
}

QImage PictureBox::image(qreal ratio) const
{
    if (!(ratio > 0) || !std::isfinite(ratio))
        ratio = 1;
    QImage image = blankImage(ratio);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    paintPicture(painter);
    return image;
}

qint32 PictureBox::Point(double x, double y) const
{
    const QPoint p = pixelAt(x, y);
    if (!QRect(QPoint(0, 0), designSize()).contains(p))
        return -1;
    const QImage *raster = rendered(1);
    const QRgb rgb = raster ? raster->pixel(p) : image(1).pixel(p);
    return colourValue(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QFont PictureBox::designFontOf(const QFont &widgetFont) const
{
    QFont design = widgetFont;
    // Every property fixed: a painter fills unset ones from its device's font, which on the
    // screen is the zoomed widget font.
    design.setResolveMask(QFont::AllPropertiesResolved);
    if (widgetFont.pointSizeF() > 0)
        design.setPointSizeF(widgetFont.pointSizeF() / m_zoom);
    else if (widgetFont.pixelSize() > 0)
        design.setPixelSize(std::max(1, qRound(widgetFont.pixelSize() / m_zoom)));
    return design;
}

void PictureBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        // A zoom scales the widget's font; the drawing stays in design points.
        const QFont design = designFontOf(font());
        if (design != m_widgetFont) {
            m_widgetFont = design;
            m_font = design;
            m_metrics.reset();
        }
    }
    QWidget::changeEvent(event);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QSizeF covered = QSizeF(designSize()) * m_zoom;
    // Rounding the zoomed size can leave a sliver at the right or bottom edge.
    if (width() > covered.width())
        painter.fillRect(QRectF(covered.width(), 0, width() - covered.width(), height()),
                         toColor(m_backColor));
    if (height() > covered.height())
        painter.fillRect(QRectF(0, covered.height(), width(), height() - covered.height()),
                         toColor(m_backColor));
    painter.scale(m_zoom, m_zoom);
    if (isRaster(painter)) {
        const QTransform t = painter.deviceTransform();
        if (const QImage *picture = rendered(std::hypot(t.m11(), t.m12()))) {
            painter.drawImage(QPointF(0, 0), *picture);
            return;
        }
    }
    paintPicture(painter);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position() / m_zoom;
    Q_EMIT mouseDown(event->button(), event->modifiers(), pixelsToTwips(p.x()),
                     pixelsToTwips(p.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position() / m_zoom;
    Q_EMIT mouseUp(event->button(), event->modifiers(), pixelsToTwips(p.x()), pixelsToTwips(p.y()));
}

} // namespace velmora
