#pragma once

#include "calendar/core/calendarmodel.h"
#include "toolkit/picturebox.h"

#include <QObject>
#include <QPointer>

namespace velmora {

/// The month calendar drawn on a picture box: a title bar, a row of weekday initials and six
/// weeks of day cells. A left click selects days (Shift for a range, Ctrl to toggle one day)
/// and is reported through DateClicked.
class clsCalendar : public QObject, public CalendarModel
{
    Q_OBJECT

public:
    /// Shows the month of `today` (the current date unless given); nothing is drawn until a
    /// picture box is set and RefreshCalendar runs.
    explicit clsCalendar(QObject *parent = nullptr, const QDate &today = QDate::currentDate());
    ~clsCalendar() override;
    Q_DISABLE_COPY_MOVE(clsCalendar)

    /// The surface to draw on; its clicks drive the selection. Its back colour becomes white.
    void setPictureBox(PictureBox *picAny);
    PictureBox *pictureBox() const { return m_picContainer; }

    /// Repaints the title bar, the weekday row and all 42 cells of the shown month. When the
    /// box still shows this calendar's last drawing and that drawing would come out the same,
    /// nothing is drawn: a moment that moves by the hour changes the month rarely.
    void RefreshCalendar();

    qint32 TitleColor() const { return m_lTitleColor; }
    void setTitleColor(qint32 colour) { m_lTitleColor = colour; }
    qint32 HeaderColor() const { return m_lHeaderColor; }
    void setHeaderColor(qint32 colour) { m_lHeaderColor = colour; }
    bool TitleBold() const { return m_bTitleBold; }
    void setTitleBold(bool bold) { m_bTitleBold = bold; }

    const CalendarMetrics &metrics() const { return m_metrics; }

    /// A picture-box mouse-down; the picture box's signal is connected here.
    void handleMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

Q_SIGNALS:
    /// After every accepted click: the button (1, the left one), the clicked day of the shown
    /// month and its cell 0..41.
    void DateClicked(qint16 Button, const velmora::Moment &dtDateClicked, qint16 iPos);

private:
    void DrawHeader();
    void DrawWeekdayRow();
    void DrawCell(const TwipBox &box, const CellPaint &cell);

    // What the last drawing showed, and the box's revision right after it.
    struct Drawn
    {
        int year = 0;
        int month = 0;
        std::array<CellPaint, CalendarMetrics::kCells> cells;
        qint32 titleColor = 0;
        qint32 headerColor = 0;
        bool titleBold = false;
        double width = 0;
        QFont font;
        friend bool operator==(const Drawn &, const Drawn &) = default;
    };

    CalendarMetrics m_metrics;
    Drawn m_drawn;
    quint64 m_drawnRevision = 0;
    bool m_hasDrawn = false;
    qint32 m_lTitleColor = 0;
    qint32 m_lHeaderColor;
    bool m_bTitleBold = false;
    QPointer<PictureBox> m_picContainer;
    QMetaObject::Connection m_mouseConnection;
};

} // namespace velmora
