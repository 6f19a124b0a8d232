#include "core/random.h"
#include "core/units.h"
#include "sky/core/astromodule.h"
#include "sky/core/chartlayout.h"
#include "sky/view/astrofont.h"
#include "sky/view/planetchart.h"
#include "toolkit/picturebox.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;

class PlanetChartTest : public QObject
{
    Q_OBJECT

private:
    struct Page
    {
        QWidget root;
        PictureBox *pic;
        QPlainTextEdit *out;
        QLineEdit *zone;
    };

    static std::unique_ptr<Page> makePage()
    {
        auto page = std::make_unique<Page>();
        page->pic = new PictureBox(&page->root);
        page->pic->setObjectName(QStringLiteral("picAstro"));
        page->pic->setGeometry(8, 32, 481, 481); // 7215 twips square
        page->out = new QPlainTextEdit(&page->root);
        page->out->setObjectName(QStringLiteral("txtOut"));
        page->zone = new QLineEdit(&page->root);
        page->zone->setObjectName(QStringLiteral("txtLatLong(2)"));
        page->root.resize(520, 640);
        return page;
    }

    // Counts pixels near a twip position whose colour is exactly the given one
    // or, for antialiased text, dominated by that colour's channel.
    static int colouredPixelsNear(const PictureBox &pic, chart::Point at, qint32 colour)
    {
        const QImage &img = pic.image();
        int count = 0;
        const int x0 = twipsToPixels(at.x);
        const int y0 = twipsToPixels(at.y);
        for (int y = y0 - 2; y < y0 + 25; ++y) {
            for (int x = x0 - 2; x < x0 + 25; ++x) {
                if (!img.rect().contains(x, y))
                    continue;
                const QColor c = img.pixelColor(x, y);
                const bool red = c.red() > 150 && c.green() < 100 && c.blue() < 100;
                const bool green = c.green() > 150 && c.red() < 100 && c.blue() < 100;
                if ((colour == chart::kRed && red) || (colour == chart::kGreen && green))
                    ++count;
            }
        }
        return count;
    }

    AstroModule m_astro;
    AstroFont m_font;

private Q_SLOTS:
    void initTestCase()
    {
        // The build puts the symbol font beside the test programs.
        QVERIFY(m_font.Add(QCoreApplication::applicationDirPath()));
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("Astro")));
        m_astro.setLatitude(45.5f);
        m_astro.setLongitude(-75.7f);
        m_astro.setTimeZone(-5.5f);
        m_astro.CalcPlanets(Moment(2003, 9, 16, 2, 57, 36));
        QVERIFY(!m_astro.hasFailure());
    }

    void fontMissingIsQuiet()
    {
        QTemporaryDir empty;
        AstroFont font;
        QVERIFY(!font.Add(empty.path()));
        QVERIFY(!font.FontAdded());
        font.Remove(); // nothing registered, nothing to do
    }

    void drawsTableAndLetters()
    {
        auto page = makePage();
        RandomSource random([] { return 0.6; });
        PlanetChart chart(&page->root, m_astro, random);
        chart.ShowPlanets();

        QCOMPARE(page->zone->text(), QStringLiteral("-5.5"));
        const QStringList lines = page->out->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], m_astro.planetText(0));
        QVERIFY(lines[2].endsWith(QStringLiteral("ABCD in ") + chart.SignLetter(3)));
        QCOMPARE(chart.PlanetLetter(3), QStringLiteral("C")); // draw 0.6
        QCOMPARE(chart.PlanetLetter(1), QStringLiteral("B"));
        // The Sun's sign letter follows its longitude.
        QCOMPARE(chart.SignLetter(1),
                 QString(chart::signLetter(chart::signOf(m_astro.planetLong(3)))));
    }

    void dayCycleKeepsTheTable()
    {
        auto page = makePage();
        double draw = 0.0;
        RandomSource random([&draw] { return draw; });
        PlanetChart chart(&page->root, m_astro, random);
        chart.ShowPlanets();
        const QString before = page->out->toPlainText();
        QCOMPARE(chart.PlanetLetter(3), QStringLiteral("A"));

        CycleState cycles;
        cycles.dayCycleOn = true;
        chart.setCycleState(cycles);
        draw = 0.95;
        page->out->setPlainText(before + QStringLiteral("!"));
        chart.ShowPlanets();
        QCOMPARE(page->out->toPlainText(), before + QStringLiteral("!"));
        QCOMPARE(chart.PlanetLetter(3), QStringLiteral("A"));

        chart.setCycleState(CycleState{});
        chart.ShowPlanets();
        QCOMPARE(page->out->toPlainText(), before);
        QCOMPARE(chart.PlanetLetter(3), QStringLiteral("D"));
    }

    void drawingSurvivesRepaint()
    {
        auto page = makePage();
        RandomSource random([] { return 0.5; });
        PlanetChart chart(&page->root, m_astro, random);
        page->root.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page->root));
        chart.ShowPlanets();

        const PictureBox &pic = *page->pic;
        const double c = 7215.0 / 2;
        // The innermost and outermost rings cross the horizontal through the centre.
        // The rings are antialiased: dark grey or black on the white box.
        const auto dark = [&pic](double x, double y) {
            return qRed(QRgb(pic.Point(x, y))) < 160;
        };
        QVERIFY(dark(c + 3500, c));
        QVERIFY(dark(c - 800, c));
        QCOMPARE(pic.Point(c, c), 0xFFFFFF);

        chart::ChartInput in;
        for (int i = 0; i < 7; ++i)
            in.planetLong[i] = m_astro.planetLong(i);
        in.ascendant = m_astro.ascendant();
        in.ascendantLong = m_astro.ascMC(0);
        in.mcLong = m_astro.ascMC(1);
        const chart::Drawing d = chart::layoutChart(in);
        const auto textAt = [&d](const QString &s) {
            for (const chart::Text &t : d.texts) {
                if (t.text == s)
                    return t.at;
            }
            return chart::Point{};
        };
        const chart::Point sun = textAt(QStringLiteral("Q"));
        const chart::Point asc = textAt(QStringLiteral("Asc"));
        QVERIFY(colouredPixelsNear(pic, sun, chart::kRed) > 5);
        QVERIFY(colouredPixelsNear(pic, asc, chart::kGreen) > 5);

        const QImage before = pic.image().copy();
        page->root.hide();
        page->root.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page->root));
        page->pic->repaint();
        const QImage shown = page->pic->grab().toImage().convertToFormat(before.format());
        QCOMPARE(shown.size(), before.size());
        QVERIFY(shown == before);
    }

    void failedPlanetsShowTheMessage()
    {
        qputenv("SE_EPHE_PATH", QByteArrayLiteral("/nonexistent-ephemeris-folder"));
        AstroModule::ResetEphemerisPath();
        AstroModule astro;
        astro.CalcPlanets(Moment(9000, 1, 1));
        qunsetenv("SE_EPHE_PATH");
        AstroModule::ResetEphemerisPath();
        QVERIFY(astro.hasFailure());

        auto page = makePage();
        RandomSource random([] { return 0.1; });
        PlanetChart chart(&page->root, astro, random);
        chart.ShowPlanets();
        const QString text = page->out->toPlainText();
        QVERIFY(text.contains(QStringLiteral("not found")));
        // Each planet line holds the name and the message, no sign.
        const QStringList lines = text.split(u'\n');
        QCOMPARE(lines.size(), 8);
        for (int j = 1; j <= 7; ++j)
            QCOMPARE(lines[j].count(u'\t'), 1);
        QVERIFY(chart.SignLetter(1).isEmpty());
        // No planet glyph is drawn at 0 degrees Aries: no red pixel anywhere.
        const QImage &img = page->pic->image();
        int red = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QColor px = img.pixelColor(x, y);
                red += px.red() > 150 && px.green() < 100 && px.blue() < 100;
            }
        }
        QCOMPARE(red, 0);
    }
};

QTEST_MAIN(PlanetChartTest)
#include "planetchart_qtest.moc"
