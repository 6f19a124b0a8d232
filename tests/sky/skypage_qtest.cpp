#include "calendar/view/monthcalendar.h"
#include "core/random.h"
#include "core/units.h"
#include "resources/design/designdata.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "sky/view/navigation.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"
#include "toolkit/picturebox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

bool buildDesign(QWidget &root)
{
    const QJsonObject design = FormBuilder::loadDesign(designDataPath());
    root.resize(FormBuilder::clientSize(design));
    FormBuilder::build(design, &root);
    control<QTabWidget>(&root, u"SSTab1"_s)->setCurrentIndex(3);
    return true;
}

// Pixels right below a text's top-left corner whose strongest channel is the given one (the
// text is antialiased).
int pixelsOfHue(const QImage &img, chart::Point at, int channel)
{
    int count = 0;
    for (int y = twipsToPixels(at.y); y < twipsToPixels(at.y) + 20; ++y) {
        for (int x = twipsToPixels(at.x); x < twipsToPixels(at.x) + 20; ++x) {
            const QColor c = img.pixelColor(x, y);
            const int v[3] = {c.red(), c.green(), c.blue()};
            count += v[channel] > 150 && v[(channel + 1) % 3] < 100 && v[(channel + 2) % 3] < 100;
        }
    }
    return count;
}

// The navigation and the chart on the page's controls.
struct Page
{
    Page()
    {
        for (int i = 1; i <= 12; ++i)
            count->addItem(QString::number(i));
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
    const bool built = buildDesign(root);
    double draw = 0.25; // what the random source gives Mercury's letter
    RandomSource random{[this] {
        return draw;
    }};
    AstroModule astro;
    clsCalendar calendar{nullptr, QDate(2026, 1, 1)};
    PictureBox *pic = control<PictureBox>(&root, u"picCal"_s);
    QLineEdit *date = control<QLineEdit>(&root, u"txtTheDate"_s);
    QLineEdit *time = control<QLineEdit>(&root, u"txtTheTime"_s);
    ControlArray<QLineEdit> place{&root, u"txtLatLong"_s};
    ControlArray<QPushButton> jump{&root, u"cmdJump"_s};
    QPushButton *now = control<QPushButton>(&root, u"cmdNow"_s);
    ControlArray<QRadioButton> unit{&root, u"optTJ"_s};
    QComboBox *count = control<QComboBox>(&root, u"cmbJump"_s);
    QTimer *timer = control<QTimer>(&root, u"Timer2"_s);
    std::unique_ptr<PlanetChart> chart;
    std::unique_ptr<Navigation> nav;
};

} // namespace

class SkyPageTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<Page> p;
    AstroFont m_font;

private Q_SLOTS:
    void initTestCase()
    {
        // The build puts the symbol font beside the test programs; the window's shutdown test
        // starts without it.
        QVERIFY(m_font.Add(QCoreApplication::applicationDirPath()));
    }

    void init()
    {
        QLocale::setDefault(QLocale::c());
        p = std::make_unique<Page>();
    }

    void nowJumpsContinuousJumpsAndTheResetThatKeepsTheChart()
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

    void calendarClicksAndTypedMomentsMoveTheDate()
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

        // Typed: a date keeps no time of its own, a time keeps the date.
        p->go(Moment(2026, 6, 1, 12, 34, 56));
        p->date->setText(u"5 Dec 2026"_s);
        QTest::keyClick(p->date, Qt::Key_Return);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 12, 5));
        p->time->setText(u"14:30"_s);
        QTest::keyClick(p->time, Qt::Key_Enter);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 12, 5, 14, 30));
        p->checkShown();
        const double sky = p->astro.julDay();
        for (QLineEdit *box : {p->date, p->time}) {
            box->setText(u"not a moment"_s);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(box->text(), u"not a moment"_s);
        }
        QCOMPARE(p->nav->TheDate(), Moment(2026, 12, 5, 14, 30));
        QCOMPARE(p->astro.julDay(), sky);
    }

    // The chart of 16 September 2003 02:57:36 at 45.5N 75.7W, zone -5.5: the zone written back
    // in its short form, the table and the letters, and colours where the layout puts them.
    void chartShowsTheSkyUnlessTheDayCyclePlays()
    {
        p->place[0]->setText(u"45.5N"_s);
        p->place[1]->setText(u"75.7W"_s);
        p->place[2]->setText(u"-5.50"_s);
        p->draw = 0.6;
        p->go(Moment(2003, 9, 16, 2, 57, 36));
        QVERIFY(!p->astro.hasFailure());
        QCOMPARE(p->place[2]->text(), u"-5.5"_s);
        auto *out = p->root.findChild<QPlainTextEdit *>(u"txtOut"_s);
        const QString table = out->toPlainText();
        QCOMPARE(table.split(u'\n').size(), 8);
        QCOMPARE(p->chart->PlanetLetter(3), u"C"_s);

        const PictureBox &pic = *p->chart->picture();
        const double c = 7215.0 / 2;
        // The rings are antialiased: dark grey or black on the white box.
        QVERIFY(qRed(QRgb(pic.Point(c + 3500, c))) < 160);
        QCOMPARE(pic.Point(c, c), 0xFFFFFF);
        // The Sun's glyph in red and "Asc" in green.
        chart::ChartInput in;
        for (int i = 0; i < 7; ++i)
            in.planetLong[i] = p->astro.planetLong(i);
        in.ascendant = p->astro.ascendant();
        in.ascendantLong = p->astro.ascMC(0);
        in.mcLong = p->astro.ascMC(1);
        int checked = 0;
        for (const chart::Text &t : chart::layoutChart(in).texts) {
            if (t.text == u"Q"_s || t.text == u"Asc"_s) {
                QVERIFY(pixelsOfHue(pic.image(), t.at, t.text == u"Q"_s ? 0 : 1) > 5);
                ++checked;
            }
        }
        QCOMPARE(checked, 2);

        // While the cycle of the day plays only the drawing follows the moment.
        p->chart->setCycleState({.dayCycleOn = true});
        p->draw = 0.95;
        out->setPlainText(u"kept"_s);
        p->chart->ShowPlanets();
        QCOMPARE(out->toPlainText(), u"kept"_s);
        QCOMPARE(p->chart->PlanetLetter(3), u"C"_s);
        p->chart->setCycleState(CycleState{});
        p->chart->ShowPlanets();
        QCOMPARE(out->toPlainText(), table);
        QCOMPARE(p->chart->PlanetLetter(3), u"D"_s);
    }

    // Inside the polar circle the time line carries a note too; at the box's design size
    // every line shows whole, and the time line's fields start where the rows' columns do.
    void tableFitsItsBoxWithAlignedColumns()
    {
        auto *out = p->root.findChild<QPlainTextEdit *>(u"txtOut"_s);
        p->root.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p->root));
        p->place[0]->setText(u"70"_s);
        p->go(Moment(2026, 12, 6, 15, 54));
        QCoreApplication::processEvents();

        QVERIFY(!p->astro.housesNote().isEmpty());
        QVERIFY(out->toPlainText().section(u'\n', 0, 0).endsWith(p->astro.housesNote()));
        QCOMPARE(out->verticalScrollBar()->maximum(), 0);
        QCOMPARE(out->horizontalScrollBar()->maximum(), 0);
        // x where field `field` of a line starts; a run of tabs is one break.
        const auto fieldX = [&](int line, int field) {
            const QTextBlock block = out->document()->findBlockByNumber(line);
            static const QRegularExpression start(u"[^\\t]+"_s);
            auto fields = start.globalMatch(block.text());
            for (int f = 0; f < field; ++f)
                fields.next();
            return block.layout()->lineAt(0).cursorToX(fields.next().capturedStart());
        };
        for (int line = 2; line < 8; ++line) {
            for (int field = 1; field < 6; ++field)
                QCOMPARE(fieldX(line, field), fieldX(1, field));
        }
        QCOMPARE(fieldX(0, 1), fieldX(1, 2)); // Asc over the latitudes
        QCOMPARE(fieldX(0, 2), fieldX(1, 4)); // MC over the signs
        QVERIFY(fieldX(0, 3) > fieldX(1, 5)); // the note after the last column
    }
};

QTEST_MAIN(SkyPageTest)
#include "skypage_qtest.moc"
