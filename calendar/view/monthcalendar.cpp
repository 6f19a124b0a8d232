#include "calendar/view/monthcalendar.h"

#include "core/units.h"
#include "toolkit/picturebox.h"

#include <QApplication>
#include <QEventLoop>
#include <QPalette>

#include <cmath>

namespace velmora {

namespace {
constexpr qint32 kGrey = 0x808080;

qint32 buttonFaceColour()
{
    const QColor c = QApplication::palette().color(QPalette::Button);
    return colourValue(c.red(), c.green(), c.blue());
}
} // namespace

clsCalendar::clsCalendar(QObject *parent, const QDate &today)
    : QObject(parent)
    , CalendarModel(today)
    , m_metrics(CalendarMetrics::forScreen(kTwipsPerPixel, kTwipsPerPixel))
    , m_lHeaderColor(buttonFaceColour())
{}

clsCalendar::~clsCalendar() = default;

void clsCalendar::setPictureBox(PictureBox *picAny)
{
    if (m_mouseConnection)
        disconnect(m_mouseConnection);
    m_picContainer = picAny;
    if (!picAny)
        return;
    picAny->setBackColor(clsDayInfo::kWhite);
    m_mouseConnection =
        connect(picAny, &PictureBox::mouseDown, this, &clsCalendar::handleMouseDown);
}

void clsCalendar::RefreshCalendar()
{
    if (!m_picContainer)
        return;
    PictureBox &pic = *m_picContainer;
    Drawn now{ShownYear(),      ShownMonth(),   monthCells(MonthDataCol(), layout()),
              m_lTitleColor,    m_lHeaderColor, m_bTitleBold,
              pic.ScaleWidth(), pic.drawFont()};
    if (m_hasDrawn && m_drawnRevision == pic.revision() && m_drawn == now)
        return;
    // Everything below is painted over in full; starting from a clear box keeps the retained
    // drawing from growing with every refresh.
    pic.Cls();
    DrawHeader();
    DrawWeekdayRow();
    for (int i = 0; i < CalendarMetrics::kCells; ++i)
        DrawCell(cellBox(m_metrics, i), now.cells[static_cast<size_t>(i)]);
    m_drawn = std::move(now);
    m_drawnRevision = pic.revision();
    m_hasDrawn = true;
}

void clsCalendar::DrawHeader()
{
    PictureBox &pic = *m_picContainer;
    const int p = m_metrics.pixel;
    const int width = static_cast<int>(pic.ScaleWidth());
    const int bottom = CalendarMetrics::kTitleHeight + p;
    const TwipBox bar = titleBar(m_metrics, width);
    pic.Box(bar.x1, bar.y1, bar.x2, bar.y2, m_lHeaderColor, true);
    pic.Box(-p, -p, width - 5 * p, bottom, clsDayInfo::kBlack, false);
    // A raised edge: light on the top and left, shadow inside the bottom and right.
    pic.Line(0, 0, width - 5 * p, 0, clsDayInfo::kWhite);
    pic.Line(0, 0, 0, bottom, clsDayInfo::kWhite);
    pic.Line(0, CalendarMetrics::kTitleHeight, width - 6 * p, CalendarMetrics::kTitleHeight, kGrey);
    pic.Line(width - 6 * p, p, width - 6 * p, bottom, kGrey);

    const QString title = calendarTitle(ShownYear(), ShownMonth());
    pic.setForeColor(m_lTitleColor);
    pic.setFontBold(m_bTitleBold);
    const int textWidth = static_cast<int>(std::lround(pic.TextWidth(title)));
    const int textHeight = static_cast<int>(std::lround(pic.TextHeight(title)));
    pic.setCurrentX((width - textWidth) / 2);
    pic.setCurrentY((CalendarMetrics::kTitleHeight - textHeight) / 2);
    pic.Print(title);
}

void clsCalendar::DrawWeekdayRow()
{
    const TwipBox rule = weekdayRule(m_metrics);
    m_picContainer->Line(rule.x1, rule.y1, rule.x2, rule.y2, clsDayInfo::kBlack);
    for (int column = 0; column < CalendarMetrics::kColumns; ++column) {
        CellPaint cell;
        cell.text = weekdayInitial(column);
        cell.bold = true;
        DrawCell(weekdayBox(m_metrics, column), cell);
    }
}

void clsCalendar::DrawCell(const TwipBox &box, const CellPaint &cell)
{
    if (!m_picContainer)
        return;
    PictureBox &pic = *m_picContainer;
    pic.Box(box.x1, box.y1, box.x2, box.y2, clsDayInfo::kWhite, true);
    pic.Box(box.x1 + 30, box.y1 + 30, box.x2 - 30, box.y2 - 30, cell.backColor, true);
    pic.Box(box.x1, box.y1, box.x2, box.y2, cell.rectColor, false);
    if (cell.text.isEmpty())
        return;
    pic.setFontBold(cell.bold);
    pic.setForeColor(cell.foreColor);
    const double textWidth = std::round(pic.TextWidth(cell.text));
    const double textHeight = std::round(pic.TextHeight(cell.text));
    pic.setCurrentX(box.x1 + std::floor((m_metrics.cellWidth - textWidth) / 2));
    pic.setCurrentY(box.y1 + std::floor((m_metrics.cellHeight - textHeight) / 2));
    pic.Print(cell.text);
}

void clsCalendar::handleMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x,
                                  double y)
{
    const int cell = hitTest(m_metrics, x, y);
    if (button != Qt::LeftButton || cell < 0)
        return;
    // A timer tick waiting in the queue may change the shown month; let it land first so the
    // click applies to the month on screen. Input is held back so clicks cannot nest.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto clicked =
        click(cell, shift.testFlag(Qt::ShiftModifier), shift.testFlag(Qt::ControlModifier));
    if (!clicked)
        return;
    RefreshCalendar();
    Q_EMIT DateClicked(1, *clicked, static_cast<qint16>(cell));
}

} // namespace velmora
