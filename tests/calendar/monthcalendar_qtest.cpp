#include "calendar/view/monthcalendar.h"
#include "toolkit/picturebox.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;

class MonthCalendarTest : public QObject
{
    Q_OBJECT

    // Pixel of a twip position, and the pixel at the centre of a cell.
    static QPoint px(int x, int y) { return {x / 15, y / 15}; }
    QPoint cell(int i) const
    {
        const TwipBox b = cellBox(m_cal->metrics(), i);
        return px((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2);
    }
    qint32 fillOf(int i) const
    {
        const TwipBox b = cellBox(m_cal->metrics(), i);
        return m_pic->Point(b.x1 + 35, b.y1 + 35);
    }
    void click(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(m_pic.get(), button, mods, at);
    }

    std::unique_ptr<PictureBox> m_pic;
    std::unique_ptr<clsCalendar> m_cal;

private Q_SLOTS:
    void init()
    {
        m_pic = std::make_unique<PictureBox>();
        m_pic->resize(2895 / 15, 2355 / 15);
        // 1 March 2026 is a Sunday: day d is in cell d - 1.
        m_cal = std::make_unique<clsCalendar>(nullptr, QDate(2026, 3, 10));
        m_cal->setPictureBox(m_pic.get());
    }

    void paintsAndRedrawsOnlyWhatChanged()
    {
        clsCalendar lone(nullptr, QDate(2026, 3, 10)); // no picture box: nothing to draw on
        lone.RefreshCalendar();
        m_cal->setHeaderColor(0x00FFFF);
        m_cal->SelectDay(Moment(2026, 3, 10));
        m_cal->RefreshCalendar();
        const TwipBox sel = cellBox(m_cal->metrics(), 9);
        QCOMPARE(fillOf(9), clsDayInfo::kSelectionBlue);
        QCOMPARE(m_pic->Point(sel.x1, sel.y1 + 100), clsDayInfo::kSelectionBlue); // frame
        QCOMPARE(fillOf(10), clsDayInfo::kWhite);
        QCOMPARE(m_pic->Point(30, 60), 0x00FFFF); // title bar
        int textPixels = 0;                       // the day number, white on blue
        for (int x = sel.x1 + 45; x < sel.x2 - 30; x += 15)
            for (int y = sel.y1 + 45; y < sel.y2 - 30; y += 15)
                textPixels += m_pic->Point(x, y) != clsDayInfo::kSelectionBlue;
        QVERIFY(textPixels > 2);

        // A refresh that would draw the same again draws nothing; a change, or a drawing by
        // someone else on the box, brings the full drawing back.
        const quint64 drawn = m_pic->revision();
        m_cal->RefreshCalendar();
        QCOMPARE(m_pic->revision(), drawn);
        m_cal->UnSelectDay(Moment(2026, 3, 10));
        m_cal->RefreshCalendar();
        QCOMPARE(fillOf(9), clsDayInfo::kWhite);
        m_pic->Cls();
        m_cal->RefreshCalendar();
        QCOMPARE(m_pic->Point(30, 60), m_cal->HeaderColor());
    }

    void clicks()
    {
        QSignalSpy spy(m_cal.get(), &clsCalendar::DateClicked);
        click(cell(11), Qt::NoModifier, Qt::RightButton);
        click(px(1000, 100)); // title bar
        QCOMPARE(spy.count(), 0);
        click(px(1000, 1980));             // gap below 31 March
        click(cell(8), Qt::ShiftModifier); // back to 9 March
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(1).value<Moment>(), Moment(2026, 3, 31));
        QCOMPARE(spy.at(0).at(2).value<qint16>(), qint16(30));
        QCOMPARE(spy.at(1).at(0).value<qint16>(), qint16(1));
        QCOMPARE(m_cal->SelectedDays().Count(), 23);
        QCOMPARE(fillOf(8), clsDayInfo::kSelectionBlue);
        m_cal->setShownMonth(5); // May 2026: cell 40 is empty, cell 5 is the 1st
        click(cell(40));
        QCOMPARE(spy.count(), 2);
        click(cell(5));
        QCOMPARE(spy.at(2).at(2).value<qint16>(), qint16(5)); // day + lead - 1
    }
};

QTEST_MAIN(MonthCalendarTest)
#include "monthcalendar_qtest.moc"
