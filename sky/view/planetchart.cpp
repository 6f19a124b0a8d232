#include "sky/view/planetchart.h"

#include "core/random.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"
#include "toolkit/picturebox.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace velmora {

/// Widths of the table's texts in one font, summed from cached character advances: the table
/// is rewritten on every beat of a cycle, and shaping each field anew would cost more than the
/// rest of the redraw. The texts are short runs of letters, digits and signs, where the sum
/// stays within a pixel of the shaped width, well inside the gap between columns.
class TextWidths
{
public:
    explicit TextWidths(const QFont &font)
        : m_metrics(font)
    {}
    double operator()(const QString &text)
    {
        double width = 0;
        for (const QChar c : text) {
            auto it = m_advance.find(c.unicode());
            if (it == m_advance.end())
                it = m_advance.insert(c.unicode(), m_metrics.horizontalAdvance(c));
            width += *it;
        }
        return width;
    }
    double lineHeight() const
    {
        return std::ceil(std::max(m_metrics.lineSpacing(), m_metrics.height()));
    }

private:
    QFontMetricsF m_metrics;
    QHash<char16_t, double> m_advance;
};

namespace {

// Calls back when the watched widget is resized.
class ResizeWatch : public QObject
{
public:
    explicit ResizeWatch(std::function<void()> resized)
        : m_resized(std::move(resized))
    {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_resized();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_resized;
};
// The letters and labels of the chart.
const QString &letterFont()
{
    static const QString family = QStringLiteral("Arial");
    return family;
}

const QString &symbolFont()
{
    static const QString family = QString::fromLatin1(AstroFont::kFamily);
    return family;
}

// The table: the time line and seven planet rows, all readable without scrolling.
constexpr int kTableLines = 8;
constexpr double kTableMargin = 2;
constexpr double kSmallestTablePoints = 7;

/// Where each column of the planet table starts, measured in one font. The planet rows give
/// the columns (name, longitude, latitude, distance, sign, part). Each of the time line's fields
/// is wider than one column and is given two, so that its tab lands on the first, third and
/// fifth column's start, and the note after the last column.
struct TableColumns
{
    std::array<double, 7> start{}; // start[6]: where the time line's note begins
    double width = 0;              // the widest line
};

TableColumns measureColumns(const QStringList &lines, TextWidths &widthOf)
{
    const double gap = widthOf(QStringLiteral("00"));
    std::array<double, 6> column{};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(u'\t');
        // The last field of a row ends it and sets no column.
        for (qsizetype f = 0; f + 1 < fields.size() && f < 6; ++f)
            column[size_t(f)] = std::max(column[size_t(f)], widthOf(fields.at(f)));
    }
    const QStringList head = lines.value(0).split(u'\t');
    // Each of the time line's fields spans two columns: widen the second where it is short.
    for (size_t k = 0; k < 3 && qsizetype(k) < head.size(); ++k) {
        const double need = widthOf(head.at(qsizetype(k))) + gap;
        const double have = column[2 * k] + column[2 * k + 1] + 2 * gap;
        if (need > have)
            column[2 * k + 1] += need - have;
    }
    TableColumns c;
    for (size_t f = 0; f < 6; ++f)
        c.start[f + 1] = c.start[f] + column[f] + gap;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(u'\t');
        const qsizetype last = fields.size() - 1;
        const size_t at = i == 0 ? size_t(std::min<qsizetype>(2 * last, 6))
                                 : size_t(std::min<qsizetype>(last, 6));
        c.width = std::max(c.width, c.start[at] + widthOf(fields.at(last)));
    }
    return c;
}

// How many fields each line has: the same shape keeps the size that fitted last time.
QString tableShape(const QStringList &lines)
{
    QString shape;
    for (const QString &line : lines)
        shape += QString::number(line.count(u'\t'));
    return shape;
}
} // namespace

PlanetChart::PlanetChart(const QWidget *formRoot, const AstroModule &astro, RandomSource &random)
    : m_astro(astro)
    , m_random(random)
    , m_picAstro(control<PictureBox>(formRoot, QStringLiteral("picAstro")))
    , m_txtOut(control<QPlainTextEdit>(formRoot, QStringLiteral("txtOut")))
    , m_txtTimeZone(control<QLineEdit>(formRoot, arrayName(QStringLiteral("txtLatLong"), 2)))
{
    m_txtOut->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The table always has its eight lines and is fitted to show them all; at some zooms the
    // box counts the last one as a pixel short and would offer a scroll bar for nothing.
    m_txtOut->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtOut->document()->setDocumentMargin(kTableMargin);
    m_tableFont = m_txtOut->font();
    const double zoom = FormBuilder::zoomOf(m_txtOut);
    m_tableRoom =
        QSizeF(m_txtOut->contentsRect().size()) / zoom - QSizeF(2 * kTableMargin, 2 * kTableMargin);
    m_resizeWatch = std::make_unique<ResizeWatch>([this] { tableResized(); });
    // The viewport, not the box: it is resized after the box has laid out its frame.
    m_txtOut->viewport()->installEventFilter(m_resizeWatch.get());
}

PlanetChart::~PlanetChart() = default;

void PlanetChart::ShowPlanets()
{
    m_picAstro->Cls();
    m_txtTimeZone->setText(chart::timeZoneText(m_astro.timeZone()));
    drawChart();
    if (!m_cycles.dayCycleOn)
        writeTable();
}

void PlanetChart::drawChart()
{
    chart::ChartInput in;
    in.width = m_picAstro->ScaleWidth();
    in.height = m_picAstro->ScaleHeight();
    for (int i = 0; i < kPlanetCount; ++i) {
        in.planetLong[i] = m_astro.planetLong(i);
        in.planetValid[i] = m_astro.planetValid(i);
    }
    in.ascendant = m_astro.ascendant();
    in.ascendantLong = m_astro.ascMC(0);
    in.mcLong = m_astro.ascMC(1);
    in.anglesValid = m_astro.anglesValid();
    in.cycles = m_cycles;
    const chart::Drawing drawing = chart::layoutChart(in);

    PictureBox &pic = *m_picAstro;
    for (const chart::Circle &c : drawing.circles)
        pic.Circle(c.cx, c.cy, c.radius, c.colour);
    for (const chart::Line &l : drawing.spokes)
        pic.Line(l.x1, l.y1, l.x2, l.y2, l.colour);
    for (const chart::Text &t : drawing.texts) {
        const QString &family = t.symbolFont ? symbolFont() : letterFont();
        if (pic.fontName() != family)
            pic.setFontName(family);
        if (pic.fontSize() != t.size)
            pic.setFontSize(t.size);
        pic.setForeColor(t.colour);
        pic.setCurrentX(t.at.x);
        pic.setCurrentY(t.at.y);
        pic.Print(t.text);
    }
}

void PlanetChart::writeTable()
{
    std::array<QString, 8> text;
    for (int line = 0; line < 8; ++line)
        text[line] = m_astro.planetText(line);
    std::array<double, 7> longitudes{};
    std::array<bool, 7> valid{};
    for (int i = 0; i < kPlanetCount; ++i) {
        longitudes[i] = m_astro.planetLong(i);
        valid[i] = m_astro.planetValid(i);
    }
    const chart::PlanetTable table = chart::planetTable(text, longitudes, valid, m_random.next());
    showTable(table.lines);
    m_planetLetter = table.planetLetter;
    m_signLetter = table.signLetter;
}

void PlanetChart::showTable(const QStringList &lines)
{
    // The box's own font when the table fits it, else the largest smaller size that does. A
    // table of the same shape as the last one starts from the size that fitted then. The fit is
    // found at the window's natural size and scaled with its zoom, so a zoomed page shows the
    // same table, only larger.
    const QString shape = tableShape(lines);
    double points = m_tableFont.pointSizeF() > 0 ? m_tableFont.pointSizeF()
                                                 : QFontInfo(m_tableFont).pointSizeF();
    if (shape == m_tableShape && m_widths)
        points = m_tablePoints;
    for (;; points -= 0.25) {
        if (!m_widths || points != m_tablePoints) {
            QFont font = m_tableFont;
            font.setPointSizeF(points);
            m_widths = std::make_unique<TextWidths>(font);
            m_tablePoints = points;
        }
        const TableColumns fit = measureColumns(lines, *m_widths);
        const double height = kTableLines * m_widths->lineHeight();
        if ((fit.width <= m_tableRoom.width() && height <= m_tableRoom.height()) ||
            points - 0.25 < kSmallestTablePoints)
            break;
    }
    m_tableShape = shape;
    m_tableZoom = FormBuilder::zoomOf(m_txtOut);
    m_tableLines = lines;
    QFont font = m_tableFont;
    font.setPointSizeF(m_tablePoints * m_tableZoom);
    // The columns are placed by the font shown, whose widths need not scale exactly; where its
    // lines come out taller or wider than the scaled ones, a smaller step keeps the scroll bars
    // away.
    std::optional<TextWidths> zoomed;
    TableColumns columns;
    if (m_tableZoom == 1) {
        columns = measureColumns(lines, *m_widths);
    } else {
        const QSizeF room = m_tableRoom * m_tableZoom;
        for (;;) {
            zoomed.emplace(font);
            columns = measureColumns(lines, *zoomed);
            if ((columns.width <= room.width() &&
                 kTableLines * zoomed->lineHeight() <= room.height()) ||
                font.pointSizeF() - 0.25 < kSmallestTablePoints * m_tableZoom)
                break;
            font.setPointSizeF(font.pointSizeF() - 0.25);
        }
    }
    if (m_txtOut->font() != font)
        m_txtOut->setFont(font);
    if (m_txtOut->document()->documentMargin() != kTableMargin * m_tableZoom)
        m_txtOut->document()->setDocumentMargin(kTableMargin * m_tableZoom);
    QList<QTextOption::Tab> tabs;
    for (size_t s = 1; s < columns.start.size(); ++s)
        tabs.append(QTextOption::Tab(columns.start[s], QTextOption::LeftTab));
    QTextOption option = m_txtOut->document()->defaultTextOption();
    if (option.tabs() != tabs) {
        option.setTabs(tabs);
        m_txtOut->document()->setDefaultTextOption(option);
    }
    m_txtOut->setPlainText(lines.join(u'\n'));
}

void PlanetChart::tableResized()
{
    if (!m_tableLines.isEmpty() && FormBuilder::zoomOf(m_txtOut) != m_tableZoom)
        showTable(m_tableLines);
}

QString PlanetChart::PlanetLetter(int j) const
{
    return j >= 0 && j < 8 ? m_planetLetter[j] : QString();
}

QString PlanetChart::SignLetter(int j) const
{
    return j >= 0 && j < 8 ? m_signLetter[j] : QString();
}

} // namespace velmora
