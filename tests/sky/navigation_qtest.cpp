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
#include <QTest>
#include <QTimer>

#include <memory>

using namespace velmora;

namespace {

template <class T> T *add(QWidget &root, const QString &name)
{
    auto *w = new T(&root);
    w->setObjectName(name);
    return w;
}

// The controls of the page that the navigation and the chart use, under their names.
struct Page
{
    Page()
    {
        pic->resize(193, 157);
        add<PictureBox>(root, QStringLiteral("picAstro"))->resize(481, 481);
        add<QPlainTextEdit>(root, QStringLiteral("txtOut"));
        for (int i = 0; i < 3; ++i)
            place[i] = add<QLineEdit>(root, arrayName(QStringLiteral("txtLatLong"), i));
        for (int i = 0; i < 5; ++i)
            jump[i] = add<QPushButton>(root, arrayName(QStringLiteral("cmdJump"), i));
        for (int i = 0; i < 6; ++i)
            unit[i] = add<QRadioButton>(root, arrayName(QStringLiteral("optTJ"), i));
        for (int i = 1; i <= 12; ++i)
            count->addItem(QString::number(i));
        timer->setObjectName(QStringLiteral("Timer2"));
        unit[0]->setChecked(true);
        calendar.setPictureBox(pic);
        chart = std::make_unique<PlanetChart>(&root, astro, random);
        nav = std::make_unique<Navigation>(&root, calendar, astro, *chart, [] {
            return QDateTime(QDate(2026, 12, 5), QTime(21, 7, 30, 999));
        });
    }

    void go(const Moment &m, int unitIndex = 0, int countIndex = 0)
    {
        unit[unitIndex]->setChecked(true);
        count->setCurrentIndex(countIndex);
        nav->setTheDate(m);
        nav->UpdateCalendar(0);
    }
    void tick() { QMetaObject::invokeMethod(timer, "timeout"); }
    QPoint dayCell(int day) const
    {
        const TwipBox b = cellBox(calendar.metrics(), day + calendar.layout().lead - 1);
        return {(b.x1 + b.x2) / 30, (b.y1 + b.y2) / 30};
    }
    // The calendar, the boxes and the moment agree.
    void checkShown() const
    {
        const Moment &m = nav->TheDate();
        QCOMPARE(calendar.ShownYear(), m.year());
        QCOMPARE(calendar.ShownMonth(), m.date().month());
        QCOMPARE(calendar.SelectedDays().Count(), 1);
        QCOMPARE(calendar.SelectedDays().Item(1)->DateTime().date(), m.date());
        QCOMPARE(date->text(), dateText(m));
        QCOMPARE(time->text(), timeText(m));
    }

    QWidget root;
    RandomSource random{[] {
        return 0.25;
    }};
    AstroModule astro;
    clsCalendar calendar{nullptr, QDate(2026, 1, 1)};
    PictureBox *pic = add<PictureBox>(root, QStringLiteral("picCal"));
    QLineEdit *date = add<QLineEdit>(root, QStringLiteral("txtTheDate"));
    QLineEdit *time = add<QLineEdit>(root, QStringLiteral("txtTheTime"));
    QLineEdit *place[3];
    QPushButton *jump[5], *now = add<QPushButton>(root, QStringLiteral("cmdNow"));
    QRadioButton *unit[6];
    QComboBox *count = add<QComboBox>(root, QStringLiteral("cmbJump"));
    QTimer *timer = new QTimer(&root);
    std::unique_ptr<PlanetChart> chart;
    std::unique_ptr<Navigation> nav;
};

} // namespace

class NavigationTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<Page> p;

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        p = std::make_unique<Page>();
    }

    void nowJumpsAndTheResetThatKeepsTheChart()
    {
        QVERIFY(!p->jump[4]->isEnabled());
        QTest::mouseClick(p->now, Qt::LeftButton);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 12, 5, 21, 7, 30));
        p->checkShown();
        p->go(Moment(2026, 3, 10, 5), 1, -1); // no count chosen: the moment stays
        QTest::mouseClick(p->jump[1], Qt::LeftButton);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 3, 10, 5));

        p->go(Moment(150, 3, 3, 3), 5, 11); // 12 decades back leaves the years
        const double sky = p->astro.julDay();
        QTest::mouseClick(p->jump[0], Qt::LeftButton);
        QVERIFY(p->nav->lastUpdateRecovered());
        QCOMPARE(p->nav->TheDate(), Moment(100, 1, 1));
        p->checkShown();
        QCOMPARE(p->astro.julDay(), sky);
        p->nav->UpdateCalendar(0); // the next change draws the reset moment's sky
        QVERIFY(p->astro.julDay() != sky);
    }

    void placeBoxes()
    {
        p->go(Moment(2026, 6, 1, 12));
        p->place[0]->setText(QStringLiteral("-12"));
        p->place[1]->setText(QStringLiteral("-2.3"));
        p->place[2]->setText(QStringLiteral("-15"));
        QTest::keyClick(p->place[1], Qt::Key_Return);
        QCOMPARE(p->place[2]->text(), QStringLiteral("-14")); // written back by the chart
        QCOMPARE(p->astro.latitude(), -12.0f);
        QCOMPARE(p->astro.longitude(), 2.3f);
        QCOMPARE(p->astro.timeZone(), -14.0f);
    }

    void calendarClicksMoveByDayNumbers()
    {
        p->go(Moment(2026, 2, 15, 13, 45, 10));
        QTest::mouseClick(p->pic, Qt::LeftButton, Qt::NoModifier, p->dayCell(3));
        QCOMPARE(p->nav->TheDate(), Moment(2026, 2, 3, 13, 45, 10));
        p->checkShown();
        // A Ctrl click on the only selected day leaves the moment where it is.
        QTest::mouseClick(p->pic, Qt::LeftButton, Qt::ControlModifier, p->dayCell(3));
        QCOMPARE(p->nav->TheDate(), Moment(2026, 2, 3, 13, 45, 10));
        p->checkShown();
        // A selected day of another month counts by its number only: 31 from the 15th of
        // February is 16 days on.
        p->go(Moment(2026, 2, 15, 9));
        clsDayInfoCol other;
        other.Add(Moment(2026, 1, 31));
        p->calendar.setSelectedDays(other);
        p->nav->m_oCalendar_DateClicked(1, Moment(2026, 1, 31), 0);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 3, 3, 9));
    }

    void continuousJumpUnderTestClock()
    {
        p->go(Moment(2026, 1, 1), 1, 2);
        QTest::mouseClick(p->jump[3], Qt::LeftButton);
        QCOMPARE(p->nav->JumpStep(), qint16(3));
        QVERIFY(p->timer->isActive() && p->timer->interval() == 1000);
        QVERIFY(p->jump[4]->isEnabled() && !p->jump[2]->isEnabled() && !p->jump[3]->isEnabled());
        p->tick();
        QCOMPARE(p->nav->TheDate(), Moment(2026, 1, 4));
        // The count is fixed at the start; the unit is read on each tick.
        p->count->setCurrentIndex(9);
        p->unit[0]->setChecked(true);
        p->tick();
        QCOMPARE(p->nav->TheDate(), Moment(2026, 1, 4, 3));
        QTest::mouseClick(p->jump[4], Qt::LeftButton);
        QVERIFY(!p->timer->isActive() && !p->jump[4]->isEnabled());
        QVERIFY(p->jump[2]->isEnabled() && p->jump[3]->isEnabled());
    }

    void typedDateAndTime()
    {
        p->go(Moment(2026, 6, 1, 12, 34, 56));
        p->date->setText(QStringLiteral("5 Dec 2026"));
        QTest::keyClick(p->date, Qt::Key_Return);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 12, 5));
        p->time->setText(QStringLiteral("14:30"));
        QTest::keyClick(p->time, Qt::Key_Enter);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 12, 5, 14, 30));
        p->checkShown();
        const double sky = p->astro.julDay();
        for (QLineEdit *box : {p->date, p->time}) {
            box->setText(QStringLiteral("not a moment"));
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(box->text(), QStringLiteral("not a moment"));
        }
        QCOMPARE(p->nav->TheDate(), Moment(2026, 12, 5, 14, 30));
        QCOMPARE(p->astro.julDay(), sky);
    }
};

QTEST_MAIN(NavigationTest)
#include "navigation_qtest.moc"
