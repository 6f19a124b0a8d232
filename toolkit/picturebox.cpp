#include "toolkit/picturebox.h"

#include "toolkit/picturebox_p.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora {

using picturedetail::isRaster;
using picturedetail::toColor;

namespace {

constexpr double kFullTurn = 2 * std::numbers::pi;
constexpr double kToDegrees = 180 / std::numbers::pi;

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

} // namespace

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
    m_designSvgPath.clear();
    m_designImage = picture;
    forgetPictures();
    clearDrawing();
}

bool PictureBox::setDesignPicture(const QString &svgPath)
{
    m_designImage = QImage();
    m_designSvg.reset();
    m_designSvgData.clear();
    m_designSvgPath.clear();
    forgetPictures();
    QFile file(svgPath);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray data = file.readAll();
        // Parsed when first needed: the screen's layers are drawn from the text on another
        // thread, so at start the parse here would only cost time. An SVG root is checked now.
        QXmlStreamReader xml(data);
        if (xml.readNextStartElement() && xml.name() == u"svg") {
            m_designSvgData = std::move(data);
            m_designSvgPath = svgPath;
        }
    }
    clearDrawing();
    return !m_designSvgData.isEmpty();
}

QSvgRenderer *PictureBox::designSvg() const
{
    if (!m_designSvg && !m_designSvgData.isEmpty())
        m_designSvg = std::make_unique<QSvgRenderer>(m_designSvgData);
    return m_designSvg && m_designSvg->isValid() ? m_designSvg.get() : nullptr;
}

void PictureBox::clearDesignPicture()
{
    setDesignPicture(QImage());
}

bool PictureBox::hasDesignPicture() const
{
    return !m_designSvgData.isEmpty() || !m_designImage.isNull();
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
    record(Op::stroke(Op::Kind::Line, x1, y1, x2, y2, colour, m_drawWidth));
}

void PictureBox::Box(double x1, double y1, double x2, double y2, bool filled)
{
    Box(x1, y1, x2, y2, m_foreColor, filled);
}

void PictureBox::Box(double x1, double y1, double x2, double y2, qint32 colour, bool filled)
{
    if (!allFinite({x1, y1, x2, y2}) || (!filled && m_penInvisible))
        return;
    record(Op::stroke(filled ? Op::Kind::FilledBox : Op::Kind::Box, x1, y1, x2, y2, colour,
                      m_drawWidth));
}

void PictureBox::Circle(double x, double y, double radius)
{
    Circle(x, y, radius, m_foreColor);
}

void PictureBox::Circle(double x, double y, double radius, qint32 colour)
{
    if (!allFinite({x, y, radius}) || (m_penInvisible && !m_fillSolid))
        return;
    Op op = Op::stroke(Op::Kind::Shape, x, y, std::abs(radius), 0, colour, m_drawWidth);
    op.fill = m_fillSolid;
    op.fillColour = m_fillColor;
    op.outline = !m_penInvisible;
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
    Op op = Op::stroke(Op::Kind::Shape, x, y, std::abs(radius), 0, m_foreColor, m_drawWidth);
    // QPainterPath angles already run counter-clockwise on screen, as the caller's do.
    op.start = std::fmod(startAngle, kFullTurn) * kToDegrees;
    op.span = span * kToDegrees;
    op.fill = true;
    op.fillColour = m_fillColor;
    op.outline = !m_penInvisible;
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
    // The first paint draws straight onto the window: at start every box is painted once, and
    // making each one's cached picture would cost as long again before the window shows.
    const bool cache = m_paintedOnce;
    m_paintedOnce = true;
    if (cache && isRaster(painter)) {
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
