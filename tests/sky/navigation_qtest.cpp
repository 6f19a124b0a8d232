#include "calendar/view/monthcalendar.h"
#include "core/random.h"
#include "sky/core/astromodule.h"
#include "sky/view/navigation.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"
#include "toolkit/picturebox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace velmora;

namespace {

// The controls of the page that the navigation and the chart use, with their design names.
struct Page
{
    Page()
        : random([] { return 0.25; })
    {
        auto add = [this](QWidget *w, const char *name) {
            w->setParent(&root);
            w->setObjectName(QString::fromLatin1(name));
            return w;
        };
        pic = static_cast<PictureBox *>(add(new PictureBox, "picCal"));
        pic->setGeometry(544, 232, 193, 157);
        add(new PictureBox, "picAstro")->setGeometry(8, 32, 481, 481);
        add(new QPlainTextEdit, "txtOut");
        date = static_cast<QLineEdit *>(add(new QLineEdit, "txtTheDate"));
        time = static_cast<QLineEdit *>(add(new QLineEdit, "txtTheTime"));
        const char *places[] = {"txtLatLong(0)", "txtLatLong(1)", "txtLatLong(2)"};
        const char *texts[] = {"45.5N", "75.7W", "0"};
        for (int i = 0; i < 3; ++i) {
            place[i] = static_cast<QLineEdit *>(add(new QLineEdit, places[i]));
            place[i]->setText(QString::fromLatin1(texts[i]));
        }
        for (int i = 0; i < 5; ++i)
            jump[i] = static_cast<QPushButton *>(
                add(new QPushButton, qPrintable(arrayName(QStringLiteral("cmdJump"), i))));
        for (int i = 0; i < 6; ++i)
            unit[i] = static_cast<QRadioButton *>(
                add(new QRadioButton, qPrintable(arrayName(QStringLiteral("optTJ"), i))));
        unit[0]->setChecked(true);
        count = static_cast<QComboBox *>(add(new QComboBox, "cmbJump"));
        for (int i = 1; i <= 12; ++i)
            count->addItem(QString::number(i));
        count->setCurrentIndex(0);
        now = static_cast<QPushButton *>(add(new QPushButton, "cmdNow"));
        timer = new QTimer(&root);
        timer->setObjectName(QStringLiteral("Timer2"));

        calendar = std::make_unique<clsCalendar>(nullptr, QDate(2026, 1, 1));
        calendar->setPictureBox(pic);
        chart = std::make_unique<PlanetChart>(&root, astro, random);
        nav =
            std::make_unique<Navigation>(&root, *calendar, astro, *chart, [this] { return clock; });
    }

    void setMoment(const Moment &m)
    {
        nav->setTheDate(m);
        nav->UpdateCalendar(0);
    }
    void tick() { QMetaObject::invokeMethod(timer, "timeout"); }
    void chooseUnit(int index) { unit[index]->setChecked(true); }
    std::vector<int> selectedDays() const
    {
        std::vector<int> days;
        for (const auto &record : calendar->SelectedDays())
            days.push_back(record->DateTime().date().day());
        return days;
    }
    // Centre of the cell of a day of the shown month, in pixels of the calendar.
    QPoint dayCell(int day) const
    {
        const TwipBox b = cellBox(calendar->metrics(), day + calendar->layout().lead - 1);
        return {(b.x1 + b.x2) / 30, (b.y1 + b.y2) / 30};
    }

    QWidget root;
    RandomSource random;
    AstroModule astro;
    PictureBox *pic;
    QLineEdit *date;
    QLineEdit *time;
    QLineEdit *place[3];
    QPushButton *jump[5];
    QRadioButton *unit[6];
    QComboBox *count;
    QPushButton *now;
    QTimer *timer;
    QDateTime clock{QDate(2026, 12, 5), QTime(21, 7, 30, 999)};
    std::unique_ptr<clsCalendar> calendar;
    std::unique_ptr<PlanetChart> chart;
    std::unique_ptr<Navigation> nav;
};

} // namespace

class NavigationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        m_page = std::make_unique<Page>();
    }
    void cleanup() { m_page.reset(); }

    void nowShowsTheClockEverywhere()
    {
        Page &p = *m_page;
        QVERIFY(!p.jump[4]->isEnabled());
        QTest::mouseClick(p.now, Qt::LeftButton);
        QCOMPARE(p.nav->TheDate(), Moment(2026, 12, 5, 21, 7, 30));
        QCOMPARE(p.date->text(), QStringLiteral("05/Dec/2026"));
        QCOMPARE(p.time->text(), QStringLiteral("21:07:30"));
        QCOMPARE(p.calendar->ShownMonth(), 12);
        QCOMPARE(p.calendar->ShownYear(), 2026);
        QCOMPARE(p.selectedDays(), std::vector<int>{5});
        QVERIFY(p.astro.julDay() > 2400000);
        QVERIFY(!p.nav->lastUpdateRecovered());
    }

    void singleJumps_data()
    {
        QTest::addColumn<Moment>("from");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("countIndex");
        QTest::addColumn<int>("button");
        QTest::addColumn<Moment>("to");
        QTest::newRow("31 Jan + 1 month")
            << Moment(2003, 1, 31, 10) << 3 << 0 << 1 << Moment(2003, 2, 28, 10);
        QTest::newRow("decade x 12 back")
            << Moment(2026, 5, 17, 6, 1, 2) << 5 << 11 << 0 << Moment(1906, 5, 17, 6, 1, 2);
        QTest::newRow("3 hours forward")
            << Moment(2026, 12, 31, 22) << 0 << 2 << 1 << Moment(2027, 1, 1, 1);
        QTest::newRow("2 weeks back") << Moment(2026, 3, 10) << 2 << 1 << 0 << Moment(2026, 2, 24);
        QTest::newRow("no count only recomputes")
            << Moment(2026, 3, 10, 5) << 1 << -1 << 1 << Moment(2026, 3, 10, 5);
    }
    void singleJumps()
    {
        QFETCH(Moment, from);
        QFETCH(int, unit);
        QFETCH(int, countIndex);
        QFETCH(int, button);
        QFETCH(Moment, to);
        Page &p = *m_page;
        p.setMoment(from);
        p.chooseUnit(unit);
        p.count->setCurrentIndex(countIndex);
        QTest::mouseClick(p.jump[button], Qt::LeftButton);
        QCOMPARE(p.nav->TheDate(), to);
        QCOMPARE(p.calendar->ShownMonth(), to.date().month());
        QCOMPARE(p.calendar->ShownYear(), to.year());
        QCOMPARE(p.selectedDays(), std::vector<int>{to.date().day()});
        QCOMPARE(p.time->text(), to.time().toString(QStringLiteral("HH:mm:ss")));
    }

    void noUnitChosenJumpsByDecades()
    {
        Page &p = *m_page;
        p.setMoment(Moment(2000, 2, 29));
        for (QRadioButton *option : p.unit) {
            option->setAutoExclusive(false);
            option->setChecked(false);
        }
        p.nav->cmdJump_Click(1);
        QCOMPARE(p.nav->TheDate(), Moment(2010, 2, 28));
    }

    void jumpsOutOfRangeResetAndKeepTheChart_data()
    {
        QTest::addColumn<Moment>("from");
        QTest::addColumn<int>("button");
        QTest::addColumn<Moment>("reset");
        QTest::addColumn<QString>("dateText");
        QTest::newRow("back past year 100")
            << Moment(150, 3, 3, 3) << 0 << Moment(100, 1, 1) << QStringLiteral("01/Jan/0100");
        QTest::newRow("forward past 9999")
            << Moment(9950, 3, 3, 3) << 1 << Moment(3000, 1, 1) << QStringLiteral("01/Jan/3000");
    }
    void jumpsOutOfRangeResetAndKeepTheChart()
    {
        QFETCH(Moment, from);
        QFETCH(int, button);
        QFETCH(Moment, reset);
        QFETCH(QString, dateText);
        Page &p = *m_page;
        p.setMoment(from);
        const double skyBefore = p.astro.julDay();
        p.chooseUnit(5);
        p.count->setCurrentIndex(11);
        p.nav->cmdJump_Click(button);
        QVERIFY(p.nav->lastUpdateRecovered());
        QCOMPARE(p.nav->TheDate(), reset);
        QCOMPARE(p.date->text(), dateText);
        QCOMPARE(p.time->text(), QStringLiteral("00:00:00"));
        QCOMPARE(p.calendar->ShownYear(), reset.year());
        QCOMPARE(p.calendar->ShownMonth(), 1);
        QCOMPARE(p.selectedDays(), std::vector<int>{1});
        QCOMPARE(p.astro.julDay(), skyBefore);
        // The next change computes the sky of the reset moment.
        p.nav->UpdateCalendar(0);
        QVERIFY(!p.nav->lastUpdateRecovered());
        QVERIFY(p.astro.julDay() != skyBefore);
    }

    void placeBoxesAreRewrittenOnEnter()
    {
        Page &p = *m_page;
        p.setMoment(Moment(2026, 6, 1, 12));
        p.place[0]->setText(QStringLiteral("-12"));
        p.place[1]->setText(QStringLiteral("-2.3"));
        p.place[2]->setText(QStringLiteral("-15"));
        QTest::keyClick(p.place[1], Qt::Key_Return);
        QCOMPARE(p.place[0]->text(), QStringLiteral("12S"));
        QCOMPARE(p.place[1]->text(), QStringLiteral("2.3E"));
        QCOMPARE(p.place[2]->text(), QStringLiteral("-12")); // written back by the chart
        QCOMPARE(p.astro.latitude(), -12.0f);
        QCOMPARE(p.astro.longitude(), 2.3f);
        QCOMPARE(p.astro.timeZone(), -12.0f);
    }

    void hostilePlaceTexts_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recovers");
        QTest::newRow("empty") << 0 << QString() << false;
        QTest::newRow("N") << 0 << QStringLiteral("N") << false;
        QTest::newRow("letters") << 1 << QStringLiteral("qwerty") << false;
        QTest::newRow("12 digits") << 1 << QStringLiteral("999999999999") << false;
        QTest::newRow("long letters") << 0 << QString(30000, u'x') << false;
        QTest::newRow("long number") << 2 << QString(30000, u'9') << true;
        QTest::newRow("1e40 latitude") << 0 << QStringLiteral("1e40") << true;
        QTest::newRow("1e40 zone") << 2 << QStringLiteral("1e40") << true;
    }
    void hostilePlaceTexts()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(bool, recovers);
        Page &p = *m_page;
        p.setMoment(Moment(2026, 6, 1, 12));
        const float latitude = p.astro.latitude();
        p.place[box]->setText(text);
        p.nav->UpdateCalendar(0);
        QCOMPARE(p.nav->lastUpdateRecovered(), recovers);
        if (recovers) {
            QCOMPARE(p.nav->TheDate(), Moment(3000, 1, 1));
            QCOMPARE(p.place[box]->text(), text); // the failed entry is left as typed
            QCOMPARE(p.astro.latitude(), latitude);
        } else {
            QCOMPARE(p.nav->TheDate(), Moment(2026, 6, 1, 12));
            QVERIFY(p.astro.latitude() >= -180 && p.astro.latitude() <= 180);
            QVERIFY(p.astro.timeZone() >= -12 && p.astro.timeZone() <= 12);
        }
    }

    void calendarClickMovesByDayNumbers()
    {
        Page &p = *m_page;
        p.setMoment(Moment(2026, 2, 15, 13, 45, 10));
        QSignalSpy spy(p.calendar.get(), &clsCalendar::DateClicked);
        QTest::mouseClick(p.pic, Qt::LeftButton, Qt::NoModifier, p.dayCell(3));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(p.nav->TheDate(), Moment(2026, 2, 3, 13, 45, 10));
        QCOMPARE(p.date->text(), QStringLiteral("03/Feb/2026"));
        // A Shift range selects from the last clicked day; the moment follows the first of it.
        QTest::mouseClick(p.pic, Qt::LeftButton, Qt::NoModifier, p.dayCell(20));
        QTest::mouseClick(p.pic, Qt::LeftButton, Qt::ShiftModifier, p.dayCell(10));
        QCOMPARE(p.nav->TheDate(), Moment(2026, 2, 20, 13, 45, 10));
    }

    void selectedDayOfAnotherMonthMovesByNumberOnly_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<Moment>("to");
        QTest::newRow("common year") << 2026 << Moment(2026, 3, 3, 9);
        QTest::newRow("leap year") << 2024 << Moment(2024, 3, 2, 9);
    }
    void selectedDayOfAnotherMonthMovesByNumberOnly()
    {
        QFETCH(int, year);
        QFETCH(Moment, to);
        Page &p = *m_page;
        p.setMoment(Moment(year, 2, 15, 9));
        clsDayInfoCol other;
        other.Add(Moment(year, 1, 31));
        p.calendar->setSelectedDays(other);
        p.nav->m_oCalendar_DateClicked(1, Moment(year, 1, 31), 0);
        QCOMPARE(p.nav->TheDate(), to);
        QCOMPARE(p.calendar->ShownMonth(), 3);
    }

    void ctrlClickOnTheOnlyDayKeepsTheMoment()
    {
        Page &p = *m_page;
        p.setMoment(Moment(2026, 2, 15, 9));
        QTest::mouseClick(p.pic, Qt::LeftButton, Qt::ControlModifier, p.dayCell(15));
        QCOMPARE(p.nav->TheDate(), Moment(2026, 2, 15, 9));
        QCOMPARE(p.selectedDays(), std::vector<int>{15});
    }

    void continuousJumpUnderTestClock()
    {
        Page &p = *m_page;
        p.setMoment(Moment(2026, 1, 1));
        p.chooseUnit(1);
        p.count->setCurrentIndex(2);
        QTest::mouseClick(p.jump[3], Qt::LeftButton);
        QCOMPARE(p.nav->JumpStep(), qint16(3));
        QVERIFY(p.timer->isActive());
        QCOMPARE(p.timer->interval(), 1000);
        QVERIFY(p.jump[4]->isEnabled());
        QVERIFY(!p.jump[2]->isEnabled() && !p.jump[3]->isEnabled());
        p.tick();
        QCOMPARE(p.nav->TheDate(), Moment(2026, 1, 4));
        // The count is fixed at the start, the unit is read on each tick.
        p.count->setCurrentIndex(9);
        p.chooseUnit(0);
        p.tick();
        QCOMPARE(p.nav->TheDate(), Moment(2026, 1, 4, 3));
        QTest::mouseClick(p.jump[4], Qt::LeftButton);
        QVERIFY(!p.timer->isActive());
        QVERIFY(!p.jump[4]->isEnabled());
        QVERIFY(p.jump[2]->isEnabled() && p.jump[3]->isEnabled());

        // Backwards past the start: the reset, then the jump goes on from there.
        p.setMoment(Moment(100, 1, 2));
        p.chooseUnit(1);
        p.count->setCurrentIndex(1);
        p.nav->cmdJump_Click(2);
        QCOMPARE(p.nav->JumpStep(), qint16(-2));
        p.tick();
        QCOMPARE(p.nav->TheDate(), Moment(100, 1, 1));
        QVERIFY(p.nav->lastUpdateRecovered());
        p.nav->cmdJump_Click(4);

        // With no count chosen a continuous jump repeats a jump of 0.
        p.count->setCurrentIndex(-1);
        p.nav->cmdJump_Click(3);
        QCOMPARE(p.nav->JumpStep(), qint16(0));
        p.tick();
        QCOMPARE(p.nav->TheDate(), Moment(100, 1, 1));
        QVERIFY(!p.nav->lastUpdateRecovered());
    }

    void typedDateAndTime()
    {
        Page &p = *m_page;
        p.setMoment(Moment(2026, 6, 1, 12, 34, 56));
        p.date->setText(QStringLiteral("5 Dec 2026"));
        QTest::keyClick(p.date, Qt::Key_Return);
        QCOMPARE(p.nav->TheDate(), Moment(2026, 12, 5));
        QCOMPARE(p.date->text(), QStringLiteral("05/Dec/2026"));

        p.time->setText(QStringLiteral("14:30"));
        QTest::keyClick(p.time, Qt::Key_Enter);
        QCOMPARE(p.nav->TheDate(), Moment(2026, 12, 5, 14, 30));
        QCOMPARE(p.time->text(), QStringLiteral("14:30:00"));

        const double sky = p.astro.julDay();
        for (QLineEdit *box : {p.date, p.time}) {
            box->setText(QStringLiteral("not a moment"));
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(p.nav->TheDate(), Moment(2026, 12, 5, 14, 30));
            QCOMPARE(box->text(), QStringLiteral("not a moment"));
        }
        QCOMPARE(p.astro.julDay(), sky);

        // Other keys are typed; only Enter is consumed.
        int key = 'x';
        p.nav->txtTheDate_KeyPress(key);
        QCOMPARE(key, int('x'));
        key = 13;
        p.nav->txtLatLong_KeyPress(2, key);
        QCOMPARE(key, 0);
    }

private:
    std::unique_ptr<Page> m_page;
};

QTEST_MAIN(NavigationTest)
#include "navigation_qtest.moc"
