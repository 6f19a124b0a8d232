#include "toolkit/picturebox.h"

#include "core/units.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora {

namespace {

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

bool allFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Text is measured and drawn at 96 dots per inch on every screen, as the twip lengths assume;
// a QImage reports its own resolution, 96 dpi by default.
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

QStringList textLines(const QString &text)
{
    // Most texts are one line; they need no copy and no split.
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return {text};
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    return plain.split(QLatin1Char('\n'));
}

} // namespace

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
    , m_font(font())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    ensureSurface();
}

PictureBox::~PictureBox()
{
    endPainting();
}

QImage PictureBox::blankSurface(QSize size) const
{
    // Rendering a design picture costs far more than a copy of the result, and Cls needs it
    // again every time.
    if (!m_blank.isNull() && m_blank.size() == size)
        return m_blank;
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(toColor(m_backColor));
    QPainter painter(&image);
    if (!m_designSvg.isEmpty()) {
        QSvgRenderer renderer(m_designSvg);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    } else if (!m_designImage.isNull()) {
        painter.drawImage(QPoint(0, 0), m_designImage);
    }
    painter.end();
    m_blank = image;
    return image;
}

void PictureBox::ensureSurface() const
{
    const QSize wanted = size();
    if (m_surface.size() == wanted)
        return;
    endPainting();
    ++m_revision;
    QImage grown = blankSurface(wanted);
    if (!grown.isNull() && !m_surface.isNull()) {
        // Keep what was drawn; only newly exposed parts show the back colour and design picture.
        QPainter painter(&grown);
        painter.drawImage(QPoint(0, 0), m_surface);
    }
    m_surface = grown;
}

void PictureBox::resetSurface()
{
    endPainting();
    ++m_revision;
    m_surface = blankSurface(size());
    m_currentX = 0;
    m_currentY = 0;
    update();
}

void PictureBox::setDesignPicture(const QImage &picture)
{
    m_designSvg.clear();
    m_designImage = picture;
    m_blank = QImage();
    resetSurface();
}

bool PictureBox::setDesignPicture(const QString &svgPath)
{
    m_designImage = QImage();
    m_designSvg.clear();
    QFile file(svgPath);
    bool ok = false;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        ok = QSvgRenderer(data).isValid();
        if (ok)
            m_designSvg = data;
    }
    m_blank = QImage();
    resetSurface();
    return ok;
}

void PictureBox::clearDesignPicture()
{
    setDesignPicture(QImage());
}

bool PictureBox::hasDesignPicture() const
{
    return !m_designSvg.isEmpty() || !m_designImage.isNull();
}

void PictureBox::Cls()
{
    resetSurface();
}

void PictureBox::setBackColor(qint32 colour)
{
    m_backColor = colour & 0xFFFFFF;
    m_blank = QImage();
    resetSurface();
}

QPainter *PictureBox::surfacePainter()
{
    ensureSurface();
    if (m_surface.isNull())
        return nullptr;
    ++m_revision;
    if (!m_painter.isActive())
        m_painter.begin(&m_surface);
    update();
    return &m_painter;
}

void PictureBox::endPainting() const
{
    if (m_painter.isActive())
        m_painter.end();
}

void PictureBox::setDrawWidth(int pixels)
{
    m_drawWidth = std::clamp(pixels, 1, 32767);
}

void PictureBox::fillPixels(QRect pixels, qint32 colour)
{
    if (QPainter *painter = surfacePainter()) {
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->fillRect(pixels, toColor(colour));
    }
}

void PictureBox::strokeStraight(QPoint from, QPoint to, qint32 colour)
{
    // A pen of w pixels covers w whole pixels across the line and reaches as far past each end.
    const int before = (m_drawWidth - 1) / 2;
    const int after = m_drawWidth / 2;
    const QRect span = spanning(from, to);
    fillPixels(QRect(QPoint(span.left() - before, span.top() - before),
                     QPoint(span.right() + after, span.bottom() + after)),
               colour);
}

void PictureBox::Line(double x1, double y1, double x2, double y2)
{
    Line(x1, y1, x2, y2, m_foreColor);
}

void PictureBox::Line(double x1, double y1, double x2, double y2, qint32 colour)
{
    if (m_penInvisible || !allFinite({x1, y1, x2, y2}))
        return;
    const QPoint from = pixelAt(x1, y1);
    const QPoint to = pixelAt(x2, y2);
    if (from.x() == to.x() || from.y() == to.y()) {
        strokeStraight(from, to, colour);
        return;
    }
    QPainter *painter = surfacePainter();
    if (!painter)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(toColor(colour), m_drawWidth, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre(0.5, 0.5);
    painter->drawLine(QPointF(from) + centre, QPointF(to) + centre);
}

void PictureBox::Box(double x1, double y1, double x2, double y2, bool filled)
{
    Box(x1, y1, x2, y2, m_foreColor, filled);
}

void PictureBox::Box(double x1, double y1, double x2, double y2, qint32 colour, bool filled)
{
    if (!allFinite({x1, y1, x2, y2}))
        return;
    const QRect r = spanning(pixelAt(x1, y1), pixelAt(x2, y2));
    if (filled) {
        fillPixels(r, colour);
        return;
    }
    if (m_penInvisible)
        return;
    strokeStraight(r.topLeft(), r.topRight(), colour);
    strokeStraight(r.bottomLeft(), r.bottomRight(), colour);
    strokeStraight(r.topLeft(), r.bottomLeft(), colour);
    strokeStraight(r.topRight(), r.bottomRight(), colour);
}

void PictureBox::paintShape(const QPainterPath &path, bool fill, qint32 outline)
{
    QPainter *painter = surfacePainter();
    if (!painter)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(fill ? QBrush(toColor(m_fillColor)) : QBrush(Qt::NoBrush));
    if (m_penInvisible)
        painter->setPen(Qt::NoPen);
    else
        painter->setPen(
            QPen(toColor(outline), m_drawWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter->drawPath(path);
    painter->setBrush(Qt::NoBrush);
}

void PictureBox::Circle(double x, double y, double radius)
{
    Circle(x, y, radius, m_foreColor);
}

void PictureBox::Circle(double x, double y, double radius, qint32 colour)
{
    if (!allFinite({x, y, radius}))
        return;
    const double r = twipsToPixelsF(std::abs(radius));
    QPainterPath path;
    path.addEllipse(exactPoint(x, y), r, r);
    paintShape(path, m_fillSolid, colour);
}

void PictureBox::Pie(double x, double y, double radius, double startAngle, double endAngle)
{
    constexpr double fullTurn = 2 * std::numbers::pi;
    if (!allFinite({x, y, radius, startAngle, endAngle}) || startAngle == endAngle)
        return;
    double span = std::fmod(endAngle - startAngle, fullTurn);
    if (span < 0)
        span += fullTurn;
    if (span == 0)
        span = fullTurn; // the ends differ by whole turns: the full disc
    const double r = twipsToPixelsF(std::abs(radius));
    const QPointF centre = exactPoint(x, y);
    const QRectF bounds(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    constexpr double toDegrees = 180 / std::numbers::pi;
    QPainterPath path(centre);
    // QPainterPath angles already run counter-clockwise on screen, as the caller's do.
    path.arcTo(bounds, std::fmod(startAngle, fullTurn) * toDegrees, span * toDegrees);
    path.closeSubpath();
    paintShape(path, true, m_foreColor);
}

void PictureBox::drawTextLines(QPainter &painter, const QStringList &lines,
                               const QFontMetricsF &metrics, QPointF topLeft) const
{
    double baseline = topLeft.y() + metrics.ascent();
    for (const QString &line : lines) {
        painter.drawText(QPointF(topLeft.x(), baseline), line);
        baseline += metrics.height();
    }
}

void PictureBox::Print(const QString &text, bool newLine)
{
    const QFontMetricsF metrics(m_font, &metricsDevice());
    const QStringList lines = textLines(text);
    if (QPainter *painter = surfacePainter()) {
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setFont(m_font);
        painter->setPen(toColor(m_foreColor));
        drawTextLines(*painter, lines, metrics, QPointF(pixelAt(m_currentX, m_currentY)));
    }
    const double lineHeight = pixelsToTwips(metrics.height());
    if (newLine) {
        m_currentX = 0;
        m_currentY += lineHeight * lines.size();
    } else {
        m_currentX += pixelsToTwips(metrics.horizontalAdvance(lines.last()));
        m_currentY += lineHeight * (lines.size() - 1);
    }
}

void PictureBox::PrintRotated(const QString &text, double x, double y, double angleDegrees)
{
    if (!allFinite({x, y, angleDegrees}))
        return;
    QPainter *painter = surfacePainter();
    if (!painter)
        return;
    const double w = twipsToPixelsF(TextWidth(text));
    const double h = twipsToPixelsF(TextHeight(text));
    painter->save();
    painter->setRenderHint(QPainter::TextAntialiasing);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setFont(m_font);
    painter->setPen(toColor(m_foreColor));
    painter->translate(exactPoint(x, y));
    // QPainter turns positive angles clockwise on screen, which is what callers ask for.
    painter->rotate(angleDegrees);
    drawTextLines(*painter, textLines(text), QFontMetricsF(m_font, &metricsDevice()),
                  QPointF(-w / 2, -h / 2));
    painter->restore();
}

void PictureBox::setFontName(const QString &family)
{
    m_font.setFamily(family);
}

void PictureBox::setFontSize(double points)
{
    if (points > 0 && std::isfinite(points))
        m_font.setPointSizeF(points);
}

void PictureBox::setFontBold(bool bold)
{
    m_font.setBold(bold);
}

void PictureBox::setFontItalic(bool italic)
{
    m_font.setItalic(italic);
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
    ensureSurface();
    const QFontMetricsF metrics(m_font, &metricsDevice());
    double widest = 0;
    for (const QString &line : textLines(text))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return pixelsToTwips(widest);
}

double PictureBox::TextHeight(const QString &text) const
{
    ensureSurface();
    const QFontMetricsF metrics(m_font, &metricsDevice());
    return pixelsToTwips(metrics.height() * textLines(text).size());
}

qint32 PictureBox::Point(double x, double y) const
{
    ensureSurface();
    endPainting();
    const QPoint p = pixelAt(x, y);
    if (!m_surface.rect().contains(p))
        return -1;
    const QRgb rgb = m_surface.pixel(p);
    return colourValue(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

const QImage &PictureBox::image() const
{
    ensureSurface();
    endPainting();
    return m_surface;
}

double PictureBox::ScaleWidth() const
{
    return pixelsToTwips(width());
}

double PictureBox::ScaleHeight() const
{
    return pixelsToTwips(height());
}

void PictureBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_font = font();
    QWidget::changeEvent(event);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    ensureSurface();
    endPainting();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    ensureSurface();
    QWidget::resizeEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    Q_EMIT mouseDown(event->button(), event->modifiers(), pixelsToTwips(p.x()),
                     pixelsToTwips(p.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    Q_EMIT mouseUp(event->button(), event->modifiers(), pixelsToTwips(p.x()), pixelsToTwips(p.y()));
}

} // namespace velmora
