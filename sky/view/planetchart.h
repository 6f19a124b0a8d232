#pragma once

#include "sky/core/chartlayout.h"

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace velmora {

class AstroModule;
class PictureBox;
class TextWidths;
class RandomSource;

/// The chart of the page "The Seven Planets": draws the sky of the last
/// computation on picAstro, writes the planet table into txtOut and the time
/// zone back into txtLatLong(2), and keeps the letters the music reads.
class PlanetChart
{
public:
    /// Finds picAstro, txtOut and txtLatLong(2) below formRoot (throws
    /// std::logic_error when one is missing). astro and random must outlive
    /// the chart.
    PlanetChart(const QWidget *formRoot, const AstroModule &astro, RandomSource &random);
    ~PlanetChart();
    Q_DISABLE_COPY_MOVE(PlanetChart)

    /// The music's state, which decides the planets' colours and whether the
    /// table is rewritten. The music owns the values and sets them here.
    void setCycleState(const CycleState &cycles) { m_cycles = cycles; }
    const CycleState &cycleState() const { return m_cycles; }

    /// Redraws the whole chart from the astro module's last results.
    void ShowPlanets();

    /// Letter of the planet (1 Sun .. 7 Saturn, library order; 0 is empty).
    /// Mercury's is drawn afresh at random on every redraw.
    QString PlanetLetter(int j) const;
    /// Letter of the sign the planet is in; empty for a planet that could not
    /// be computed.
    QString SignLetter(int j) const;

    PictureBox *picture() const { return m_picAstro; }

private:
    void drawChart();
    void writeTable();
    /// Puts the table into txtOut with its columns aligned, in a font that shows all of it.
    void showTable(const QStringList &lines);
    /// Lays the last table out again when the box changes size (the window's zoom).
    void tableResized();

    const AstroModule &m_astro;
    RandomSource &m_random;
    PictureBox *m_picAstro;
    QPlainTextEdit *m_txtOut;
    QLineEdit *m_txtTimeZone;
    QFont m_tableFont;
    // The table's size and shape of the last redraw, and its text widths in that size.
    double m_tablePoints = 0;
    QString m_tableShape;
    QStringList m_tableLines;
    double m_tableZoom = 1;
    // The room the table has at the window's natural size.
    QSizeF m_tableRoom;
    std::unique_ptr<QObject> m_resizeWatch;
    std::unique_ptr<TextWidths> m_widths;
    CycleState m_cycles;
    std::array<QString, 8> m_planetLetter;
    std::array<QString, 8> m_signLetter;
};

} // namespace velmora
