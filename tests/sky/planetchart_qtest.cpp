#include "core/random.h"
#include "core/units.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "sky/view/planetchart.h"
#include "toolkit/picturebox.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <memory>

using namespace velmora;

class PlanetChartTest : public QObject
{
    Q_OBJECT

private:
    // The controls the chart looks for, as the window names them.
    struct Page
    {
        QWidget root;
        PictureBox *pic = new PictureBox(&root);
        QPlainTextEdit *out = new QPlainTextEdit(&root);
        QLineEdit *zone = new QLineEdit(&root);
        Page()
        {
            pic->setObjectName(QStringLiteral("picAstro"));
            pic->setGeometry(8, 32, 481, 481); // 7215 twips square
            out->setObjectName(QStringLiteral("txtOut"));
            zone->setObjectName(QStringLiteral("txtLatLong(2)"));
            root.resize(520, 640);
        }
    };

    // Pixels in the box right below a text's top-left corner whose strongest
    // channel is the given one (the text is antialiased).
    static int pixelsOfHue(const QImage &img, chart::Point at, int channel)
    {
        int count = 0;
        for (int y = twipsToPixels(at.y); y < twipsToPixels(at.y) + 20; ++y) {
            for (int x = twipsToPixels(at.x); x < twipsToPixels(at.x) + 20; ++x) {
                const QColor c = img.pixelColor(x, y);
                const int v[3] = {c.red(), c.green(), c.blue()};
                count +=
                    v[channel] > 150 && v[(channel + 1) % 3] < 100 && v[(channel + 2) % 3] < 100;
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
        QTemporaryDir empty;
        AstroFont missing;
        QVERIFY(!missing.Add(empty.path()) && !missing.FontAdded()); // quietly nothing

        m_astro.setLatitude(45.5f);
        m_astro.setLongitude(-75.7f);
        m_astro.setTimeZone(-5.5f);
        m_astro.CalcPlanets(Moment(2003, 9, 16, 2, 57, 36));
        QVERIFY(!m_astro.hasFailure());
    }

    void tableAndLettersUnlessTheDayCyclePlays()
    {
        Page page;
        double draw = 0.6;
        RandomSource random([&draw] { return draw; });
        PlanetChart chart(&page.root, m_astro, random);
        chart.ShowPlanets();

        QCOMPARE(page.zone->text(), QStringLiteral("-5.5"));
        const QString table = page.out->toPlainText();
        QCOMPARE(table.split(u'\n').size(), 8);
        QCOMPARE(chart.PlanetLetter(3), QStringLiteral("C"));

        // While the cycle of the day plays only the drawing follows the moment.
        CycleState cycles;
        cycles.dayCycleOn = true;
        chart.setCycleState(cycles);
        draw = 0.95;
        page.out->setPlainText(QStringLiteral("kept"));
        chart.ShowPlanets();
        QCOMPARE(page.out->toPlainText(), QStringLiteral("kept"));
        QCOMPARE(chart.PlanetLetter(3), QStringLiteral("C"));

        chart.setCycleState(CycleState{});
        chart.ShowPlanets();
        QCOMPARE(page.out->toPlainText(), table);
        QCOMPARE(chart.PlanetLetter(3), QStringLiteral("D"));
    }

    // Inside the polar circle the time line carries a note too; at the box's design size
    // every line shows whole, and the time line's fields start where the rows' columns do.
    void tableFitsItsBoxWithAlignedColumns()
    {
        Page page;
        page.out->setGeometry(8, 512, 481, 113); // 7215 x 1695 twips
        page.root.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page.root));
        AstroModule polar;
        polar.setLatitude(70);
        polar.CalcPlanets(Moment(2026, 12, 6, 15, 54));
        RandomSource random([] { return 0.5; });
        PlanetChart chart(&page.root, polar, random);
        chart.ShowPlanets();
        QCoreApplication::processEvents();

        QVERIFY(!polar.housesNote().isEmpty());
        QVERIFY(page.out->toPlainText().section(u'\n', 0, 0).endsWith(polar.housesNote()));
        QCOMPARE(page.out->verticalScrollBar()->maximum(), 0);
        QCOMPARE(page.out->horizontalScrollBar()->maximum(), 0);
        // x where field `field` of a line starts; a run of tabs is one break.
        const auto fieldX = [&](int line, int field) {
            const QTextBlock block = page.out->document()->findBlockByNumber(line);
            static const QRegularExpression start(QStringLiteral("[^\\t]+"));
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

    void drawingPutsColoursWhereTheLayoutSays()
    {
        Page page;
        RandomSource random([] { return 0.5; });
        PlanetChart chart(&page.root, m_astro, random);
        chart.ShowPlanets();

        const PictureBox &pic = *page.pic;
        const double c = 7215.0 / 2;
        // The rings are antialiased: dark grey or black on the white box.
        QVERIFY(qRed(QRgb(pic.Point(c + 3500, c))) < 160);
        QCOMPARE(pic.Point(c, c), 0xFFFFFF);

        // The Sun's glyph in red and "Asc" in green where the layout puts them.
        chart::ChartInput in;
        for (int i = 0; i < 7; ++i)
            in.planetLong[i] = m_astro.planetLong(i);
        in.ascendant = m_astro.ascendant();
        in.ascendantLong = m_astro.ascMC(0);
        in.mcLong = m_astro.ascMC(1);
        int checked = 0;
        for (const chart::Text &t : chart::layoutChart(in).texts) {
            if (t.text == QStringLiteral("Q") || t.text == QStringLiteral("Asc")) {
                QVERIFY(pixelsOfHue(pic.image(), t.at, t.text == QStringLiteral("Q") ? 0 : 1) > 5);
                ++checked;
            }
        }
        QCOMPARE(checked, 2);
    }

    // On a screen of pixel ratio 2 the chart is drawn again at twice the pixels: scaled down it
    // is the 96-dpi chart, and it is not that chart enlarged.
    void replayedAtRatioTwo()
    {
        Page page;
        RandomSource random([] { return 0.5; });
        PlanetChart chart(&page.root, m_astro, random);
        chart.ShowPlanets();
        const QImage once = page.pic->image(1);
        const QImage twice = page.pic->image(2);
        QCOMPARE(twice.size(), once.size() * 2);
        const QImage halved =
            twice.scaled(once.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qint64 difference = 0;
        int far = 0;
        for (int y = 0; y < once.height(); ++y)
            for (int x = 0; x < once.width(); ++x) {
                const int d = std::abs(qGray(once.pixel(x, y)) - qGray(halved.pixel(x, y)));
                difference += d;
                far += d > 128;
            }
        // Edges are smoothed a little differently; anything drawn elsewhere differs by far more.
        const int pixels = once.width() * once.height();
        QVERIFY2(difference < 6 * pixels && far < pixels / 200,
                 qPrintable(QStringLiteral("%1 %2").arg(difference).arg(far)));
        QVERIFY(twice.convertToFormat(QImage::Format_RGB32) !=
                once.scaled(twice.size()).convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(PlanetChartTest)
#include "planetchart_qtest.moc"
