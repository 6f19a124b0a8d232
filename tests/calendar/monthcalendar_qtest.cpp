#include "calendar/view/monthcalendar.h"
#include "toolkit/picturebox.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;

namespace {
// Pixel of a twip position (15 twips to a pixel).
QPoint px(int xTwips, int yTwips)
{
    return {xTwips / 15, yTwips / 15};
}

// Centre of a grid cell in pixels.
QPoint cellCentre(const clsCalendar &cal, int cell)
{
    const TwipBox b = cellBox(cal.metrics(), cell);
    return px((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2);
}

std::vector<int> selectedDays(const clsCalendar &cal)
{
    std::vector<int> days;
    for (const auto &record : cal.SelectedDays())
        days.push_back(record->DateTime().date().day());
    return days;
}
} // namespace

class MonthCalendarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_pic = std::make_unique<PictureBox>();
        m_pic->resize(2895 / 15, 2355 / 15);
        // 1 March 2026 is a Sunday: day d is in cell d - 1.
        m_cal = std::make_unique<clsCalendar>(nullptr, QDate(2026, 3, 10));
        m_cal->setPictureBox(m_pic.get());
    }
    void cleanup()
    {
        m_cal.reset();
        m_pic.reset();
    }

    void drawsWithoutPictureBoxSafely()
    {
        clsCalendar lone(nullptr, QDate(2026, 3, 10));
        lone.SelectDay(Moment(2026, 3, 10));
        lone.RefreshCalendar();
        QCOMPARE(lone.SelectedDays().Count(), 1);
    }

    void paintsSelectionFramesAndTitleBar()
    {
        m_cal->setHeaderColor(0x00FFFF); // yellow makes the bar easy to tell apart
        m_cal->SelectDay(Moment(2026, 3, 10));
        m_cal->RefreshCalendar();
        const TwipBox selected = cellBox(m_cal->metrics(), 9);
        const TwipBox plain = cellBox(m_cal->metrics(), 10);
        const TwipBox empty = cellBox(m_cal->metrics(), 40);
        QCOMPARE(m_pic->Point(selected.x1 + 35, selected.y1 + 35), clsDayInfo::kSelectionBlue);
        QCOMPARE(m_pic->Point(selected.x1, selected.y1 + 100), clsDayInfo::kSelectionBlue);
        // A selected cell keeps a white ring between its frame and its blue fill.
        QCOMPARE(m_pic->Point(selected.x1 + 15, selected.y1 + 100), clsDayInfo::kWhite);
        QCOMPARE(m_pic->Point(plain.x1 + 15, plain.y1 + 15), clsDayInfo::kWhite);
        QCOMPARE(m_pic->Point(empty.x1 + 150, empty.y1 + 100), clsDayInfo::kWhite);
        QCOMPARE(m_pic->Point(plain.x1, plain.y1 + 100), clsDayInfo::kWhite);
        QCOMPARE(m_pic->Point(30, 60), 0x00FFFF);
        QCOMPARE(m_pic->Point(1000, 540), clsDayInfo::kBlack); // rule under the weekday row
        // The day number is drawn in the selected cell: some pixel is white text on blue.
        bool hasText = false;
        for (int x = selected.x1 + 45; x < selected.x2 - 30; x += 15)
            for (int y = selected.y1 + 45; y < selected.y2 - 30; y += 15)
                hasText = hasText || m_pic->Point(x, y) != clsDayInfo::kSelectionBlue;
        QVERIFY(hasText);
    }

    void clickReportsDayAndCell_data()
    {
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("cell");
        init();
        QTest::newRow("centre of 10 March") << cellCentre(*m_cal, 9) << 10 << 9;
        QTest::newRow("gap right of 1 March") << px(480, 700) << 1 << 0;
        QTest::newRow("gap below 31 March") << px(1000, 1980) << 31 << 30;
        cleanup();
    }
    void clickReportsDayAndCell()
    {
        QFETCH(QPoint, pixel);
        QFETCH(int, day);
        QFETCH(int, cell);
        QSignalSpy spy(m_cal.get(), &clsCalendar::DateClicked);
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::NoModifier, pixel);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<qint16>(), qint16(1));
        QCOMPARE(spy.at(0).at(1).value<Moment>(), Moment(2026, 3, day));
        QCOMPARE(spy.at(0).at(2).value<qint16>(), qint16(cell));
        QCOMPARE(selectedDays(*m_cal), std::vector<int>{day});
        const TwipBox box = cellBox(m_cal->metrics(), cell);
        QCOMPARE(m_pic->Point(box.x1 + 35, box.y1 + 35), clsDayInfo::kSelectionBlue);
    }

    void ignoredClicksRaiseNothing()
    {
        m_cal->setShownMonth(5); // May 2026 leaves cells 0..4 and 36..41 empty
        QSignalSpy spy(m_cal.get(), &clsCalendar::DateClicked);
        QTest::mouseClick(m_pic.get(), Qt::RightButton, Qt::NoModifier, cellCentre(*m_cal, 10));
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*m_cal, 2));
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*m_cal, 40));
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::NoModifier, px(1000, 100));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(m_cal->SelectedDays().Count(), 0);
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*m_cal, 5));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).value<Moment>(), Moment(2026, 5, 1));
        QCOMPARE(spy.at(0).at(2).value<qint16>(), qint16(5)); // day + lead - 1
    }

    void modifiersComeFromTheClick()
    {
        QSignalSpy spy(m_cal.get(), &clsCalendar::DateClicked);
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*m_cal, 11));
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(*m_cal, 8));
        QCOMPARE(selectedDays(*m_cal), (std::vector<int>{12, 11, 10, 9}));
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::ControlModifier, cellCentre(*m_cal, 8));
        QCOMPARE(selectedDays(*m_cal), (std::vector<int>{12, 11, 10}));
        QCOMPARE(spy.count(), 3);
    }

    void ctrlOnOnlySelectedDayStillReports()
    {
        QSignalSpy spy(m_cal.get(), &clsCalendar::DateClicked);
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*m_cal, 4));
        QTest::mouseClick(m_pic.get(), Qt::LeftButton, Qt::ControlModifier, cellCentre(*m_cal, 4));
        QCOMPARE(m_cal->SelectedDays().Count(), 0);
        QCOMPARE(spy.count(), 2);
        const TwipBox b = cellBox(m_cal->metrics(), 4);
        QCOMPARE(m_pic->Point(b.x1 + 35, b.y1 + 35), clsDayInfo::kWhite);
        QCOMPARE(m_pic->Point(b.x1, b.y1 + 100), clsDayInfo::kWhite);
    }

private:
    std::unique_ptr<PictureBox> m_pic;
    std::unique_ptr<clsCalendar> m_cal;
};

QTEST_MAIN(MonthCalendarTest)
#include "monthcalendar_qtest.moc"
