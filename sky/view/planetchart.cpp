#include "sky/view/planetchart.h"

#include "core/random.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "toolkit/controls.h"
#include "toolkit/picturebox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace velmora {

namespace {
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
} // namespace

PlanetChart::PlanetChart(const QWidget *formRoot, const AstroModule &astro, RandomSource &random)
    : m_astro(astro)
    , m_random(random)
    , m_picAstro(control<PictureBox>(formRoot, QStringLiteral("picAstro")))
    , m_txtOut(control<QPlainTextEdit>(formRoot, QStringLiteral("txtOut")))
    , m_txtTimeZone(control<QLineEdit>(formRoot, arrayName(QStringLiteral("txtLatLong"), 2)))
{
    // Columns of about nine digits keep a planet's line on one row of the box.
    m_txtOut->setTabStopDistance(9 * m_txtOut->fontMetrics().horizontalAdvance(u'0'));
    m_txtOut->setLineWrapMode(QPlainTextEdit::NoWrap);
}

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
    layRings(drawing.circles);
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

void PlanetChart::layRings(const std::vector<chart::Circle> &rings)
{
    const auto same = [](const chart::Circle &a, const chart::Circle &b) {
        return a.cx == b.cx && a.cy == b.cy && a.radius == b.radius && a.colour == b.colour;
    };
    PictureBox &pic = *m_picAstro;
    if (m_ringsSize == pic.size() &&
        std::equal(rings.begin(), rings.end(), m_rings.begin(), m_rings.end(), same))
        return;
    // Drawn on the cleared box exactly as the chart would draw them first, then kept under it.
    pic.clearDesignPicture();
    for (const chart::Circle &c : rings)
        pic.Circle(c.cx, c.cy, c.radius, c.colour);
    pic.setDesignPicture(pic.image().copy());
    m_rings = rings;
    m_ringsSize = pic.size();
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
    m_txtOut->setPlainText(table.lines.join(u'\n'));
    m_planetLetter = table.planetLetter;
    m_signLetter = table.signLetter;
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
