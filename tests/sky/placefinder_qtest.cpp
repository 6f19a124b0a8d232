// Finding a place and following its zone, with the system's atlas and tz database.
#include "calendar/view/monthcalendar.h"
#include "core/random.h"
#include "sky/core/astromodule.h"
#include "sky/view/frmplace.h"
#include "sky/view/navigation.h"
#include "sky/view/placefinder.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"
#include "toolkit/picturebox.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>
#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr double kArcsecond = 1.0 / 3600.0;

// The page's controls the navigation and the chart find by name, and a finder on a menu bar.
struct Page
{
    explicit Page(const QString &atlasLibrary = {})
    {
        add<PictureBox>(u"picAstro"_s)->resize(481, 481);
        add<QPlainTextEdit>(u"txtOut"_s);
        for (int i = 0; i < 3; ++i)
            place[i] = add<QLineEdit>(arrayName(u"txtLatLong"_s, i));
        for (int i = 0; i < 5; ++i)
            add<QPushButton>(arrayName(u"cmdJump"_s, i));
        for (int i = 0; i < 6; ++i)
            unit[i] = add<QRadioButton>(arrayName(u"optTJ"_s, i));
        for (int i = 1; i <= 12; ++i)
            add<QComboBox>(u"cmbJump"_s)->addItem(QString::number(i));
        add<QPushButton>(u"cmdNow"_s);
        add<QLineEdit>(u"txtTheDate"_s);
        add<QLineEdit>(u"txtTheTime"_s);
        (new QTimer(&root))->setObjectName(u"Timer2"_s);
        place[0]->setText(u"45.5N"_s);
        place[1]->setText(u"75.7W"_s);
        place[2]->setText(u"0"_s);
        unit[0]->setChecked(true);
        calendar.setPictureBox(add<PictureBox>(u"picCal"_s));
        chart = std::make_unique<PlanetChart>(&root, astro, random);
        nav = std::make_unique<Navigation>(&root, calendar, astro, *chart);
        menu = PlaceFinder::addMenu(bar);
        finder = std::make_unique<PlaceFinder>(&root, menu, *nav, atlasLibrary);
    }
    template <class T> T *add(const QString &name)
    {
        if (auto *existing = root.findChild<T *>(name))
            return existing;
        auto *w = new T(&root);
        w->setObjectName(name);
        return w;
    }
    void go(const Moment &m)
    {
        nav->setTheDate(m);
        nav->UpdateCalendar(0);
    }
    QTreeWidget *list() const { return finder->dialog()->findChild<QTreeWidget *>(u"lstPlaces"_s); }
    QLineEdit *search() const
    {
        return finder->dialog()->findChild<QLineEdit *>(u"txtPlaceSearch"_s);
    }
    // Picks the best match of a name as a user would: the finder, then Enter.
    void pick(const QString &name)
    {
        finder->open(name);
        QTest::keyClick(search(), Qt::Key_Return);
    }

    QWidget root;
    QMenuBar *bar = new QMenuBar(&root);
    RandomSource random{[] {
        return 0.25;
    }};
    AstroModule astro;
    clsCalendar calendar{nullptr, QDate(2026, 1, 1)};
    QLineEdit *place[3];
    QRadioButton *unit[6];
    std::unique_ptr<PlanetChart> chart;
    std::unique_ptr<Navigation> nav;
    QMenu *menu;
    std::unique_ptr<PlaceFinder> finder;
};

double angleDiff(double a, double b)
{
    return std::fabs(std::remainder(a - b, 360.0));
}

} // namespace

class PlaceFinderTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<Page> p;
    std::unique_ptr<QSignalSpy> reports;

    QString lastReport() const
    {
        return reports->isEmpty() ? QString() : reports->last().at(0).toString();
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        p = std::make_unique<Page>();
        reports = std::make_unique<QSignalSpy>(p->nav.get(), &Navigation::placeReport);
    }
    void cleanup()
    {
        reports.reset();
        p.reset();
        QLocale::setDefault(QLocale::system());
    }

    void finderListsBestMatchesAsTheUserTypes()
    {
        p->go(Moment(1975, 7, 1, 12));
        p->finder->open(u"Madri"_s);
        QVERIFY(p->finder->dialog()->isVisible());
        QTest::keyClick(p->search(), Qt::Key_End); // the text came in selected
        QTest::keyClick(p->search(), Qt::Key_D);
        const QTreeWidgetItem *first = p->list()->topLevelItem(0);
        QVERIFY(first && first->isSelected());
        const QStringList row{first->text(0), first->text(1), first->text(2),
                              first->text(3), first->text(4), first->text(5)};
        QCOMPARE(row, (QStringList{u"Madrid"_s, u"Madrid"_s, u"Spain"_s, u"3,255,944"_s,
                                   u"Europe/Madrid"_s, u"UTC+2 (CEST)"_s}));
        QCOMPARE(p->list()->topLevelItem(1)->text(2), u"Colombia"_s);

        // Text no city name could be lists nothing.
        for (const QString &text : {QString(10000, u'x'), u"Ma\u0001drid"_s, u"   "_s}) {
            p->search()->setText(text);
            QCOMPARE(p->list()->topLevelItemCount(), 0);
        }
        // Escape leaves the place as it was.
        p->search()->setText(u"Madrid"_s);
        QTest::keyClick(p->search(), Qt::Key_Escape);
        QVERIFY(!p->finder->dialog()->isVisible());
        QCOMPARE(p->place[0]->text(), u"45.5N"_s);
        QVERIFY(!p->nav->city());
    }

    void pickedCityFollowsItsZoneAndMatchesTheEphemeris_data()
    {
        QTest::addColumn<QString>("city");
        QTest::addColumn<Moment>("local");
        QTest::addColumn<QString>("box");
        QTest::addColumn<double>("hoursUT");
        QTest::addColumn<QList<double>>("reference");
        // From tools/skyreference.c at the Universal Time the zone gives and the place the
        // boxes hold (float), that is swetest -b<date> -t<UT> -p0123456 -fPl -head -eswe and
        // swetest -bj<jd - delta T> -ut -house<lon>,<lat>,P: Sun..Saturn, Ascendant, MC.
        QTest::newRow("Madrid 1 Jul 1975 12:00, UTC+2")
            << u"Madrid"_s << Moment(1975, 7, 1, 12) << u"-2"_s << 10.0
            << QList<double>{98.9605001, 5.9272894,   78.0454854,  143.6599028, 30.1812851,
                             21.6538116, 110.6679814, 160.0994318, 66.7846316};
        QTest::newRow("Madrid 6 Dec 2026 12:00, UTC+1")
            << u"Madrid"_s << Moment(2026, 12, 6, 12) << u"-1"_s << 11.0
            << QList<double>{254.3274911, 225.6910393, 240.1527100, 211.3928678, 153.8686953,
                             146.9536728, 7.9497782,   307.3724129, 238.4985819};
        QTest::newRow("New York 1 Nov 2026 01:30, the first, UTC-4")
            << u"New York"_s << Moment(2026, 11, 1, 1, 30) << u"4"_s << 5.5
            << QList<double>{218.8052756, 120.6907594, 226.4058707, 206.1344960, 138.7366312,
                             144.3509066, 9.2720852,   147.4140486, 51.1615972};
    }
    void pickedCityFollowsItsZoneAndMatchesTheEphemeris()
    {
        QFETCH(QString, city);
        QFETCH(Moment, local);
        QFETCH(QString, box);
        QFETCH(double, hoursUT);
        QFETCH(QList<double>, reference);
        p->go(local);
        p->pick(city);
        QVERIFY(!p->finder->dialog()->isVisible());
        QCOMPARE(p->nav->city()->name, city);
        QCOMPARE(p->place[2]->text(), box);
        const QDate d = local.date();
        const double jdMidnight = double(d.toJulianDay()) - 0.5;
        QCOMPARE(p->astro.julDay(), jdMidnight + hoursUT / 24);
        constexpr int kSphereOfLibrary[] = {3, 0, 1, 2, 4, 5, 6};
        for (int i = 0; i < 7; ++i)
            QVERIFY2(angleDiff(p->astro.planetLong(kSphereOfLibrary[i]), reference[i]) < kArcsecond,
                     qPrintable(QString::number(i)));
        QVERIFY(angleDiff(p->astro.ascMC(0), reference[7]) < kArcsecond);
        QVERIFY(angleDiff(p->astro.ascMC(1), reference[8]) < kArcsecond);
    }

    void zoneFollowsEveryChangeOfTheMoment()
    {
        p->go(Moment(1975, 7, 1, 12));
        p->pick(u"Madrid"_s);
        QCOMPARE(p->place[0]->text(), u"40.4165N"_s);
        QCOMPARE(p->place[1]->text(), u"3.7026W"_s);
        QCOMPARE(p->astro.timeZone(), -2.0f);
        QCOMPARE(lastReport(), u"Madrid, Spain: Europe/Madrid, UTC+2 (CEST)"_s);

        // A jump by a month across the end of summer time.
        p->go(Moment(2026, 10, 15, 12));
        QCOMPARE(p->place[2]->text(), u"-2"_s);
        p->unit[3]->setChecked(true);
        p->nav->cmdJump_Click(1);
        QCOMPARE(p->nav->TheDate(), Moment(2026, 11, 15, 12));
        QCOMPARE(p->place[2]->text(), u"-1"_s);
        QCOMPARE(p->astro.timeZone(), -1.0f);

        // Before standard time: Madrid's own mean time, 3.7026 / 15 hours behind.
        p->go(Moment(1800, 1, 1, 12));
        QCOMPARE(p->place[2]->text(), u"0.2468"_s);
        QVERIFY(lastReport().contains(u"local mean time"_s));

        // Typing a zone takes over from the city.
        QSignalSpy changed(p->nav.get(), &Navigation::cityChanged);
        p->place[2]->clear();
        QTest::keyClicks(p->place[2], u"3"_s);
        QTest::keyClick(p->place[2], Qt::Key_Return);
        QVERIFY(!p->nav->city());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(p->astro.timeZone(), 3.0f);
        p->go(Moment(1975, 7, 1, 12));
        QCOMPARE(p->place[2]->text(), u"3"_s);
    }

    void newNumbersInThePlaceDropTheCity()
    {
        p->go(Moment(2026, 3, 8, 2, 30));
        p->pick(u"New York"_s);
        QCOMPARE(p->place[2]->text(), u"5"_s);
        QVERIFY(lastReport().contains(u"did not exist"_s));
        p->place[0]->setText(u"40.7N"_s);
        QTest::keyClick(p->place[0], Qt::Key_Return);
        QVERIFY(!p->nav->city());
        QVERIFY(lastReport().contains(u"no longer followed"_s));
        // The same numbers typed in another form are still the city's.
        p->pick(u"New York"_s);
        p->place[1]->setText(u"74.006"_s);
        QTest::keyClick(p->place[1], Qt::Key_Return);
        QVERIFY(p->nav->city());
    }

    void nameInALatitudeOrLongitudeBoxOpensTheFinder()
    {
        p->go(Moment(2026, 6, 1, 12));
        for (int box : {0, 1}) {
            p->place[box]->setText(u"  São Paulo"_s);
            QTest::keyClick(p->place[box], Qt::Key_Return);
            QVERIFY(p->finder->dialog()->isVisible());
            QCOMPARE(p->search()->text(), u"São Paulo"_s);
            QCOMPARE(p->place[box]->text(), box == 0 ? u"45.5N"_s : u"75.7W"_s);
            QTest::keyClick(p->search(), Qt::Key_Escape);
        }
        // One letter is no name (N, S, E and W mark the numbers).
        p->place[0]->setText(u"N"_s);
        QTest::keyClick(p->place[0], Qt::Key_Return);
        QVERIFY(!p->finder->dialog()->isVisible());
        QCOMPARE(p->place[0]->text(), u"0N"_s);
    }

    void zonesTheBoxCannotOrNeedNotTake()
    {
        p->go(Moment(2026, 6, 1, 12));
        p->nav->pickCity({u"Kiritimati"_s, u"Line Islands"_s, u"Kiribati"_s, "Pacific/Kiritimati",
                          1.87, -157.4});
        QCOMPARE(p->place[2]->text(), u"-14"_s);
        QCOMPARE(p->astro.timeZone(), -14.0f);

        p->place[2]->setText(u"-3"_s);
        p->nav->pickCity({u"Atlantis"_s, QString(), u"Ocean"_s, "Nowhere/Atlantis", 30, -30});
        QVERIFY(p->nav->city());
        QCOMPARE(p->place[2]->text(), u"-3"_s);
        QVERIFY(lastReport().contains(u"not in this computer's time-zone database"_s));
    }

    void missingAtlasDisablesTheMenuItem()
    {
        Page missing(u"velmora-no-such-atlas"_s);
        QSignalSpy said(missing.finder.get(), &PlaceFinder::statusMessage);
        auto *find = missing.menu->findChild<QAction *>(u"mnuSkyFindPlace"_s);
        QCOMPARE(find->shortcut(), QKeySequence(u"Ctrl+L"_s));
        find->trigger();
        QVERIFY(!find->isEnabled());
        QVERIFY(find->toolTip().contains(u"install the package libgeonames0"_s));
        QCOMPARE(said.size(), 1);
        QVERIFY(!missing.finder->dialog());
    }
};

QTEST_MAIN(PlaceFinderTest)
#include "placefinder_qtest.moc"
