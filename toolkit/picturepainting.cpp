// The picture box's painting: the design picture's layer, the recorded calls played back onto
// it, and the finished picture kept for repaints.
#include "toolkit/designraster.h"
#include "toolkit/picturebox.h"
#include "toolkit/picturebox_p.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace velmora {

using picturedetail::isRaster;
using picturedetail::toColor;

namespace {

// The largest picture kept ready for repaints: 16 MB of pixels.
constexpr qint64 kMaxRenderedPixels = 4 * 1024 * 1024;

// Far outside any surface, yet safe to offset and to hand to the painter.
constexpr double kFarPixels = 1e6;

// Tolerates values such as 149.99999 that stand for a pixel border. Values beyond any surface,
// and values that are not numbers, are held far outside it instead of overflowing the int.
int pixelIndex(double twips)
{
    const double px = std::floor(twips / kTwipsPerPixel + 1e-6);
    if (std::isnan(px))
        return static_cast<int>(-kFarPixels);
    return static_cast<int>(std::clamp(px, -kFarPixels, kFarPixels));
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

// The design picture at a scale: the build's ready picture where there is one, else drawn here.
QImage designPicture(const QString &svgPath, const QByteArray &svgData, QSize design, qreal scale,
                     const QColor &background)
{
    QImage image =
        designraster::ready(designraster::path(svgPath, scale), design, scale, background);
    if (image.isNull()) {
        QSvgRenderer svg(svgData);
        image = designraster::render(svg, design, scale, background);
    }
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

} // namespace

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
        layer.image = designraster::ready(designraster::path(m_designSvgPath, deviceScale), design,
                                          deviceScale, toColor(m_backColor));
    if (layer.image.isNull()) {
        if (QSvgRenderer *svg = designSvg())
            layer.image = designraster::render(*svg, design, deviceScale, toColor(m_backColor));
    }
    return layer.image;
}

void PictureBox::prepareDesignLayers(const std::vector<PictureBox *> &boxes)
{
    struct Job
    {
        QString path;
        QByteArray svg;
        QSize design;
        qreal scale;
        qint32 backColor;
    };
    std::vector<Job> jobs;
    std::vector<PictureBox *> prepared;
    for (PictureBox *box : boxes) {
        if (!box || box->m_designSvgData.isEmpty())
            continue;
        // What paintEvent() will ask for: the zoom times the screen's pixel ratio.
        jobs.push_back({box->m_designSvgPath, box->m_designSvgData, box->designSize(),
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
            for (const Job &job : jobs)
                layers.push_back(designPicture(job.path, job.svg, job.design, job.scale,
                                               toColor(job.backColor)));
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
    if (!m_designSvgData.isEmpty() && isRaster(painter)) {
        // Rendering the design picture takes longer than everything drawn over it, so screens
        // and images get it from a cache made at their resolution.
        const QImage &layer = designLayer(deviceScale);
        if (!layer.isNull()) {
            painter.drawImage(QPointF(0, 0), layer);
            return;
        }
    }
    painter.fillRect(area, toColor(m_backColor));
    if (QSvgRenderer *svg = designSvg()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        svg->render(&painter, area);
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
    return designraster::pixels(designSize(), ratio);
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

} // namespace velmora
