// Finding a place and following its time zone, through the window, with the system's atlas
// (libgeonames0) and tz database (tzdata).
#include "app/frmvelmora.h"
#include "core/preferences.h"
#include "sky/core/astromodule.h"
#include "sky/view/frmplace.h"
#include "sky/view/navigation.h"
#include "sky/view/placefinder.h"
#include "testwindow.h"
#include "toolkit/controls.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cmath>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QLineEdit *box(const frmVelmora &w, int index)
{
    return control<QLineEdit>(w.form(), arrayName(u"txtLatLong"_s, index));
}
QLineEdit *search(const frmVelmora &w)
{
    return w.placeFinder()->dialog()->findChild<QLineEdit *>(u"txtPlaceSearch"_s);
}
void go(const frmVelmora &w, const Moment &m)
{
    w.navigation()->setTheDate(m);
    w.navigation()->UpdateCalendar(0);
}
// Picks the best match of a name as a user would: the finder, then Enter.
void pick(const frmVelmora &w, const QString &name)
{
    w.placeFinder()->open(name);
    QTest::keyClick(search(w), Qt::Key_Return);
}

const CityPlace kMadrid{u"Madrid"_s, u"Madrid"_s, u"Spain"_s, "Europe/Madrid", 40.4165, -3.7026};

} // namespace

class PlaceTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<frmVelmora> w;

    QString status() const { return w->statusBar()->currentMessage(); }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        w = test::startedWindow(m_dir.path());
    }
    void cleanup()
    {
        w.reset();
        for (const QString &file : {u"Velmora.ini"_s, u"Settings.txt"_s})
            QFile::remove(m_dir.filePath(file));
        QLocale::setDefault(QLocale::system());
    }

    void finderListsBestMatchesAndPickedCitiesMatchTheEphemeris()
    {
        go(*w, Moment(1975, 7, 1, 12));
        w->placeFinder()->open(u"Madri"_s);
        QTest::keyClick(search(*w), Qt::Key_End); // the text comes in selected
        QTest::keyClick(search(*w), Qt::Key_D);
        auto *list = w->placeFinder()->dialog()->findChild<QTreeWidget *>(u"lstPlaces"_s);
        const QTreeWidgetItem *first = list->topLevelItem(0);
        QVERIFY(first && first->isSelected());
        QStringList row;
        for (int c = 0; c < 6; ++c)
            row << first->text(c);
        QCOMPARE(row, (QStringList{u"Madrid"_s, u"Madrid"_s, u"Spain"_s, u"3,255,944"_s,
                                   u"Europe/Madrid"_s, u"UTC+2 (CEST)"_s}));
        QCOMPARE(list->topLevelItem(1)->text(2), u"Colombia"_s);

        search(*w)->setText(u"Madrid"_s);
        QTest::keyClick(search(*w), Qt::Key_Escape);
        QVERIFY(!w->placeFinder()->dialog()->isVisible());
        QCOMPARE(box(*w, 0)->text(), u"45.5N"_s);
        QVERIFY(!w->navigation()->city());

        // The planets follow from the instant, which the ephemeris day pins; the angles from the
        // place as well.
        // Ascendant and MC from tools/skyreference.c at that UT and at the place the boxes hold
        // (float), as swetest -bj<jd - delta T> -ut -house<lon>,<lat>,P.
        const struct
        {
            QString city;
            Moment local;
            QString zone;
            double hoursUT, ascendant, mc;
        } cases[] = {
            {u"Madrid"_s, Moment(1975, 7, 1, 12), u"-2"_s, 10.0, 160.0994318, 66.7846316},
            {u"Madrid"_s, Moment(2026, 12, 6, 12), u"-1"_s, 11.0, 307.3724129, 238.4985819},
            // 01:30 came twice that night: the first, still UTC-4.
            {u"New York"_s, Moment(2026, 11, 1, 1, 30), u"4"_s, 5.5, 147.4140486, 51.1615972}};
        const auto off = [](double a, double b) {
            return std::fabs(std::remainder(a - b, 360.0));
        };
        for (const auto &c : cases) {
            go(*w, c.local);
            pick(*w, c.city);
            QCOMPARE(w->navigation()->city()->name, c.city);
            QCOMPARE(box(*w, 2)->text(), c.zone);
            QCOMPARE(w->astro().julDay(),
                     double(c.local.date().toJulianDay()) - 0.5 + c.hoursUT / 24);
            QVERIFY(off(w->astro().ascMC(0), c.ascendant) < 1.0 / 3600);
            QVERIFY(off(w->astro().ascMC(1), c.mc) < 1.0 / 3600);
        }
    }

    void zoneFollowsEveryChangeOfTheMomentUntilTheUserTakesOver()
    {
        go(*w, Moment(2026, 10, 15, 12));
        pick(*w, u"Madrid"_s);
        QCOMPARE(box(*w, 0)->text(), u"40.4165N"_s);
        QCOMPARE(box(*w, 1)->text(), u"3.7026W"_s);
        // The degrees stay in sight in a box narrower than the text.
        QCOMPARE(box(*w, 0)->cursorPosition(), 0);
        QCOMPARE(status(), u"Madrid, Spain: Europe/Madrid, UTC+2 (CEST)"_s);
        // A jump by a month across the end of summer time.
        control<QRadioButton>(w->form(), u"optTJ(3)"_s)->setChecked(true);
        w->navigation()->cmdJump_Click(1);
        QCOMPARE(box(*w, 2)->text(), u"-1"_s);
        QCOMPARE(w->astro().timeZone(), -1.0f);
        // Before standard time: Madrid's own mean time, 3.7026 / 15 hours behind.
        go(*w, Moment(1800, 1, 1, 12));
        QCOMPARE(box(*w, 2)->text(), u"0.2468"_s);
        QVERIFY(status().contains(u"local mean time"_s));

        // Typing a zone lets the city go, in the preferences too.
        box(*w, 2)->selectAll();
        QTest::keyClicks(box(*w, 2), u"3"_s);
        QTest::keyClick(box(*w, 2), Qt::Key_Return);
        QVERIFY(!w->navigation()->city());
        QVERIFY(!Preferences(m_dir.path(), {}).keptPlace());
        go(*w, Moment(1975, 7, 1, 12));
        QCOMPARE(w->astro().timeZone(), 3.0f);

        // So do other numbers in Latitude; the same ones in another form do not.
        go(*w, Moment(2026, 3, 8, 2, 30));
        pick(*w, u"New York"_s);
        QCOMPARE(box(*w, 2)->text(), u"5"_s);
        QVERIFY(status().contains(u"02:30:00 did not exist"_s));
        box(*w, 1)->setText(u"74.006"_s);
        QTest::keyClick(box(*w, 1), Qt::Key_Return);
        QVERIFY(w->navigation()->city());
        box(*w, 0)->setText(u"40.7N"_s);
        QTest::keyClick(box(*w, 0), Qt::Key_Return);
        QVERIFY(!w->navigation()->city());
        QVERIFY(status().contains(u"no longer followed"_s));
    }

    void nameInABoxOpensTheFinderUnknownZoneLeavesTheBox()
    {
        // Typed with or without its accents, the atlas finds the city.
        for (const auto &[i, typed] : {std::pair{0, u"São Paulo"_s}, {1, u"sao paulo"_s}}) {
            const QString before = box(*w, i)->text();
            box(*w, i)->setText(u"  "_s + typed);
            QTest::keyClick(box(*w, i), Qt::Key_Return);
            QVERIFY(w->placeFinder()->dialog()->isVisible());
            QCOMPARE(search(*w)->text(), typed);
            QCOMPARE(
                w->placeFinder()->dialog()->findChild<QTreeWidget *>()->topLevelItem(0)->text(0),
                u"São Paulo"_s);
            QCOMPARE(box(*w, i)->text(), before);
            QTest::keyClick(search(*w), Qt::Key_Escape);
        }
        // One letter is no name (N, S, E and W mark the numbers).
        box(*w, 0)->setText(u"N"_s);
        QTest::keyClick(box(*w, 0), Qt::Key_Return);
        QVERIFY(!w->placeFinder()->dialog()->isVisible());
        QCOMPARE(box(*w, 0)->text(), u"0N"_s);

        // A zone unknown to the database leaves the box.
        box(*w, 2)->setText(u"-3"_s);
        w->navigation()->pickCity({u"Atlantis"_s, {}, u"Ocean"_s, "Nowhere/Atlantis", 30, -30});
        QCOMPARE(box(*w, 2)->text(), u"-3"_s);
        QVERIFY(status().contains(u"not in this computer's time-zone database"_s));
    }

    void followedCitySurvivesARestartMissingAtlasIsNamed()
    {
        w->navigation()->pickCity(kMadrid);
        w->close();
        w = test::startedWindow(m_dir.path());
        QVERIFY(w->navigation()->city() == kMadrid);
        QCOMPARE(box(*w, 2)->text(), u"-1"_s);
        w->close();

        // Settings.txt edited to another place between runs: the city is not restored.
        const QString settings = m_dir.filePath(u"Settings.txt"_s);
        QVERIFY(test::writeFile(settings, test::readFile(settings).replace("40.4165N", "48.85N")));
        w = test::startedWindow(m_dir.path());
        QVERIFY(!w->navigation()->city());
        QCOMPARE(box(*w, 0)->text(), u"48.85N"_s);

        // Without the atlas the finder is named, not fatal.
        frmVelmora::Environment env = test::environment(m_dir.path());
        env.atlasLibrary = u"velmora-no-such-atlas"_s;
        w = test::startedWindow(env);
        auto *find = w->findChild<QAction *>(u"mnuSkyFindPlace"_s);
        find->trigger();
        QVERIFY(!find->isEnabled());
        QCOMPARE(find->toolTip(),
                 u"The atlas of cities is not installed: install the package libgeonames0"_s);
        QCOMPARE(status(), find->toolTip());
        QVERIFY(!w->placeFinder()->dialog());
    }
};

QTEST_MAIN(PlaceTest)
#include "place_qtest.moc"
