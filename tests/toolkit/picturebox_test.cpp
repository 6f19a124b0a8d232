#include "core/units.h"
#include "toolkit/formbuilder.h"
#include "toolkit/picturebox.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <numbers>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr qint32 kWhite = 0xFFFFFF;
constexpr qint32 kRed = 0x0000FF;
constexpr qint32 kGreen = 0x00FF00;
constexpr qint32 kBlue = 0xFF0000;
constexpr double kPi = std::numbers::pi;

constexpr double tw(int p)
{
    return p * 15.0;
}

qint32 pixelValue(const QImage &image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return colourValue(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixelValue(image, x, y) != kWhite)
                bounds = bounds.united(QRect(x, y, 1, 1));
    return bounds;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

QByteArray svgOf(const QByteArray &shapes)
{
    return "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>" + shapes + "</svg>";
}

bool showAndWait(QWidget &w)
{
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

QImage screen(QWidget &w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A little of everything the figures, the calendar and the chart draw.
void drawSample(PictureBox &box)
{
    box.setFontName(u"DejaVu Sans"_s);
    box.setFontSize(11);
    box.Box(tw(5), tw(5), tw(60), tw(20), 0x808080, true);
    box.Box(tw(5), tw(5), tw(60), tw(20), 0x000000, false);
    box.setDrawWidth(2);
    box.Line(tw(10), tw(90), tw(90), tw(30), kBlue);
    box.setDrawWidth(1);
    box.setFillSolid(true);
    box.setFillColor(kGreen);
    box.Circle(tw(70), tw(70), tw(22), kRed);
    box.Pie(tw(30), tw(60), tw(18), 0.3, 2.0);
    box.setForeColor(kRed);
    box.setCurrentX(tw(8));
    box.setCurrentY(tw(6));
    box.Print(u"Sun"_s);
}

// Mean difference of the channels, 0..255, between an image and another at twice its size.
double meanDifferenceFromHalf(const QImage &small, const QImage &large)
{
    const QImage halved =
        large.scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            const QRgb a = small.pixel(x, y), b = halved.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        }
    return sum / (3.0 * small.width() * small.height());
}

struct CountingBox : PictureBox
{
    int paints = 0;
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        PictureBox::paintEvent(event);
    }
};

} // namespace

class PictureBoxTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colourValuesScaleLinesBoxesAndCircles()
    {
        const qint32 value = 102 + 256 * 51 + 65536 * 153;
        PictureBox box;
        box.resize(60, 40);
        box.setForeColor(value);
        box.Box(tw(2), tw(3), tw(5), tw(6), true);
        QCOMPARE(QColor(box.image().pixel(4, 4)), QColor(102, 51, 153));
        QCOMPARE(box.Point(tw(5) + 14, tw(6) + 14), value); // anywhere inside the corner pixel
        for (const auto &[x, y] : {std::pair{900.0, 0.0}, {0.0, 600.0}, {-1.0, 5.0}})
            QCOMPARE(box.Point(x, y), -1);

        box.Cls();
        box.setForeColor(kBlue);
        box.setDrawWidth(3);
        box.Line(tw(40), tw(20), tw(10), tw(20)); // both end points included, pen width covered
        QCOMPARE(inkBounds(box.image()), QRect(QPoint(9, 19), QPoint(41, 21)));
        QCOMPARE(pixelValue(box.image(), 25, 21), kBlue);

        box.resize(100, 100);
        box.setDrawWidth(1);
        box.Cls();
        box.setForeColor(kGreen);
        box.Box(tw(40), tw(30), tw(10), tw(20), false); // corners in any order
        QCOMPARE(inkBounds(box.image()), QRect(QPoint(10, 20), QPoint(40, 30)));
        QCOMPARE(box.Point(tw(25), tw(25)), kWhite);
        box.Box(tw(10), tw(10), tw(30), tw(25), kBlue, true);
        box.Box(tw(10), tw(10), tw(30), tw(25), kRed, false);
        QCOMPARE(box.Point(tw(20), tw(17)), kBlue);
        QCOMPARE(box.Point(tw(30), tw(25)), kRed);

        box.Cls();
        box.setDrawWidth(3);
        box.setFillSolid(true);
        box.setFillColor(kRed);
        box.Circle(tw(50), tw(50), tw(20), kGreen);
        QCOMPARE(box.Point(tw(50), tw(50)), kRed);
        QCOMPARE(box.Point(tw(70), tw(50)), kGreen);

        box.Cls();
        box.setPenInvisible(true);
        box.Circle(tw(50), tw(50), tw(20));
        QCOMPARE(box.Point(tw(68), tw(50)), kRed); // the fill reaches the rim
        QCOMPARE(box.Point(tw(72), tw(50)), kWhite);
        box.Cls();
        box.Line(tw(5), tw(5), tw(44), tw(44));
        box.Box(tw(10), tw(10), tw(30), tw(30), false);
        QVERIFY(inkBounds(box.image()).isNull());
        box.Box(-tw(5), tw(10), tw(30), tw(30), kRed, true); // a fill needs no pen; clipped
        QCOMPARE(inkBounds(box.image()), QRect(QPoint(0, 10), QPoint(30, 30)));
    }

    void pieSectors()
    {
        // Start and end angle, and whether each quadrant on screen is filled: upper-right,
        // upper-left, lower-left, lower-right.
        const std::tuple<double, double, std::array<bool, 4>> cases[] = {
            {0.0, kPi / 2, {true, false, false, false}},
            {3 * kPi / 2, kPi / 2, {true, false, false, true}}, // across 3 o'clock
            {-kPi / 2, 0.0, {false, false, false, true}},
            {0.0, 2 * kPi, {true, true, true, true}},
            {1.0, 1.0, {false, false, false, false}}};
        const QPoint samples[] = {{130, 70}, {70, 70}, {70, 130}, {130, 130}};
        for (const auto &[start, end, filled] : cases) {
            PictureBox box;
            box.resize(200, 200);
            box.setForeColor(kBlue);
            box.setFillColor(kRed);
            box.setDrawWidth(3);
            box.Pie(tw(100), tw(100), tw(80), start, end);
            for (int q = 0; q < 4; ++q)
                QVERIFY2(pixelValue(box.image(), samples[q].x(), samples[q].y()) ==
                             (filled[size_t(q)] ? kRed : kWhite),
                         qPrintable(u"%1 to %2, quadrant %3"_s.arg(start).arg(end).arg(q)));
            QCOMPARE(pixelValue(box.image(), 190, 100), kWhite);
            if (start == 0.0 && end == kPi / 2)
                QCOMPARE(pixelValue(box.image(), 140, 99), kBlue); // the radius edge uses the pen
        }
    }

    void textIsPlacedMeasuredAndFollowsTheFont()
    {
        PictureBox box;
        box.resize(300, 200);
        box.setFontName(u"DejaVu Sans"_s);
        box.setFontSize(14);
        box.setCurrentX(tw(40));
        box.setCurrentY(tw(30));
        const double h = box.TextHeight(u"HWH"_s);
        box.Print(u"HWH"_s);
        const QImage drawn = box.image();
        const QRect ink = inkBounds(drawn);
        QVERIFY(ink.left() >= 40 && ink.left() <= 42);
        // Capitals start at the cap height below the top of the text line.
        const QFontMetricsF fm(box.drawFont(), &drawn);
        QVERIFY(std::abs(ink.top() - (30 + fm.ascent() - fm.capHeight())) <= 1.5);
        QCOMPARE(box.currentX(), 0.0);
        QCOMPARE(box.currentY(), tw(30) + h);

        box.Cls();
        box.setCurrentX(tw(10));
        box.Print(u"AB"_s, false); // stays on the line, after the text
        QCOMPARE(box.currentX(), tw(10) + box.TextWidth(u"AB"_s));

        // Rotated text turns about its centre and leaves the position alone.
        box.Cls();
        box.setFontSize(20);
        box.PrintRotated(u"IIIIII"_s, tw(100), tw(100), 90);
        const QRect turned = inkBounds(box.image());
        QVERIFY(turned.height() > 2 * turned.width());
        QVERIFY((turned.center() - QPoint(100, 100)).manhattanLength() <= 8);
        QCOMPARE(box.currentX(), 0.0);

        box.setFontSize(12);
        // 12 points at 96 dots per inch are 16 pixels, whatever the screen says.
        const double height = box.TextHeight(u"Xg"_s);
        QVERIFY2(height >= 16 * 15 && height <= 16 * 15 * 1.5, qPrintable(QString::number(height)));
        QCOMPARE(box.TextHeight(u"a\r\nb"_s), 2 * box.TextHeight(u"a"_s));
        const double plain = box.TextWidth(u"Mercury"_s);
        box.setFontSize(24);
        QVERIFY(std::abs(box.TextWidth(u"Mercury"_s) / plain - 2) < 0.15);
        box.setFontSize(0); // ignored
        QCOMPARE(box.fontSize(), 24.0);

        // The form's font becomes the drawing font, but the drawing font setters leave the
        // labels inside the box alone.
        auto *label = new QLabel(&box);
        box.setFont(QFont(u"DejaVu Serif"_s, 15));
        QCOMPARE(box.fontName(), u"DejaVu Serif"_s);
        box.setFontSize(30);
        box.setFontItalic(true);
        QCOMPARE(label->font().pointSizeF(), 15.0);
        QVERIFY(!label->font().italic());

        // A zoom scales the widget's font; the drawing font stays in design points, and a real
        // change of the widget's font still reaches it.
        QWidget form;
        form.setFont(QFont(u"DejaVu Sans"_s, 9));
        auto *child = new PictureBox(&form);
        child->setZoom(1.5);
        QFont zoomed(u"DejaVu Sans"_s);
        zoomed.setPointSizeF(13.5);
        form.setFont(zoomed);
        QCOMPARE(child->fontSize(), 9.0);
        const double xHeight = child->TextHeight(u"X"_s);
        form.setFont(QFont(u"DejaVu Serif"_s, 18));
        QCOMPARE(child->fontName(), u"DejaVu Serif"_s);
        QCOMPARE(child->fontSize(), 12.0);
        QVERIFY(child->TextHeight(u"X"_s) > xHeight);

        // The form's zoom scales the style's measures too: scroll bars, frames, margins.
        auto *edit = new QPlainTextEdit(&form);
        const int extent = edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        FormBuilder::setZoom(&form, 2);
        QCOMPARE(edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent), 2 * extent);
    }

    // Many drawing calls make one repaint, not one each; the drawing survives repaints and resizes.
    void drawingSurvivesResizeAndRepaint()
    {
        CountingBox box;
        box.resize(80, 60);
        QVERIFY(showAndWait(box));
        QCoreApplication::processEvents();
        box.paints = 0;
        box.setForeColor(kRed);
        box.Box(tw(5), tw(5), tw(20), tw(20), true);
        for (int i = 0; i < 300; ++i)
            box.Circle(tw(50), tw(30), tw(i % 16));
        QCOMPARE(box.paints, 0); // drawing does not paint the screen by itself
        QTRY_VERIFY(box.paints >= 1);
        QVERIFY(box.paints <= 2);
        const QImage drawn = box.image().copy();
        box.repaint();
        QCOMPARE(screen(box), drawn);

        box.resize(120, 90);
        QCoreApplication::processEvents();
        const QImage grown = screen(box);
        QCOMPARE(grown.copy(0, 0, 80, 60), drawn);
        QCOMPARE(pixelValue(grown, 100, 80), kWhite);

        // Pages are drawn during start-up, before the window is shown and resize events arrive.
        QWidget page;
        auto *child = new PictureBox(&page);
        child->setGeometry(10, 10, 150, 120);
        child->Box(tw(140), tw(110), tw(149), tw(119), kBlue, true);
        QVERIFY(showAndWait(page));
        QCOMPARE(child->Point(tw(145), tw(115)), kBlue);
    }

    // Design pictures rendered ahead on another thread are what each box renders itself; a box
    // painted at another density, or changed meanwhile, renders afresh.
    void preparedDesignLayersAreEachBoxsOwn_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("as prepared") << 0 << 1.0;
        QTest::newRow("painted denser") << 0 << 2.0;
        QTest::newRow("back colour changed") << 1 << 1.0;
        QTest::newRow("pictures swapped") << 2 << 1.0;
    }

    void preparedDesignLayersAreEachBoxsOwn()
    {
        QFETCH(int, change);
        QFETCH(qreal, ratio);
        QTemporaryDir dir;
        const QByteArray shapes[2] = {"<rect width='5' height='10' fill='#00ff00'/><text x='1' "
                                      "y='6' font-size='3'>Sun</text>",
                                      "<circle cx='5' cy='5' r='4' fill='#0000ff'/><text x='2' "
                                      "y='9' font-size='2'>Moon</text>"};
        QString files[2];
        for (int i = 0; i < 2; ++i)
            files[i] = writeFile(dir, u"design%1.svg"_s.arg(i), svgOf(shapes[i]));
        PictureBox prepared[2], own[2];
        for (int i = 0; i < 2; ++i) {
            for (PictureBox *box : {&prepared[i], &own[i]}) {
                box->resize(60, 40);
                QVERIFY(box->setDesignPicture(files[i]));
            }
        }
        PictureBox::prepareDesignLayers({&prepared[0], &prepared[1]});
        for (int i = 0; i < 2; ++i) {
            for (PictureBox *box : {&prepared[i], &own[i]}) {
                if (change == 1)
                    box->setBackColor(kRed);
                else if (change == 2)
                    QVERIFY(box->setDesignPicture(files[1 - i]));
            }
        }
        for (int i = 0; i < 2; ++i)
            QCOMPARE(prepared[i].image(ratio), own[i].image(ratio));
    }

    // A ready picture beside the SVG is laid over the back colour in place of drawing the SVG,
    // prepared or not, but only at the size it was made for.
    void readyDesignPictureTakenWhereItFits()
    {
        QTemporaryDir dir;
        const QString svg =
            writeFile(dir, u"half.svg"_s, svgOf("<rect width='5' height='10' fill='#00ff00'/>"));
        QImage ready(40, 20, QImage::Format_ARGB32);
        ready.fill(Qt::transparent);
        for (int y = 0; y < 20; ++y)
            ready.setPixelColor(30, y, Qt::blue);
        QVERIFY(ready.save(dir.filePath(u"half@1x.png"_s)));
        QVERIFY(ready.save(dir.filePath(u"half@2x.png"_s))); // the size of scale 1
        PictureBox plain, prepared;
        for (PictureBox *box : {&plain, &prepared}) {
            box->resize(40, 20);
            box->setBackColor(kRed);
            QVERIFY(box->setDesignPicture(svg));
        }
        PictureBox::prepareDesignLayers({&prepared});
        for (PictureBox *box : {&plain, &prepared}) {
            const QImage one = box->image(1);
            QCOMPARE(one.pixelColor(30, 5), QColor(Qt::blue));
            QCOMPARE(one.pixelColor(5, 5), QColor(Qt::red));
            QCOMPARE(box->image(2).pixelColor(10, 10), QColor(Qt::green));
        }
    }

    void designPictureSurvivesClsAndGoesToVectorDevices()
    {
        QImage design(10, 10, QImage::Format_ARGB32);
        design.fill(Qt::transparent);
        design.setPixelColor(2, 2, QColor(0, 0, 255));
        PictureBox box;
        box.resize(40, 20);
        box.setDesignPicture(design);
        box.Box(0, 0, tw(20), tw(20), kRed, true);
        box.setCurrentX(500);
        box.Cls();
        QCOMPARE(box.Point(tw(2), tw(2)), kBlue);
        QCOMPARE(box.currentX(), 0.0);

        // A picture whose left half is green, drawn at the size of the box and made afresh for
        // each size and pixel ratio: its edge falls inside a pixel at 96 dpi, not at twice that.
        QTemporaryDir dir;
        QVERIFY(box.setDesignPicture(writeFile(
            dir, u"half.svg"_s, svgOf("<rect width='5.125' height='10' fill='#00ff00'/>"))));
        QCOMPARE(box.Point(tw(18), tw(19)), kGreen);
        QCOMPARE(box.image(2).pixelColor(40, 10), QColor(0, 255, 0));
        box.resize(60, 20);
        QCOMPARE(box.Point(tw(29), tw(10)), kGreen);

        QVERIFY(!box.setDesignPicture(dir.filePath(u"missing.svg"_s)));
        QVERIFY(!box.hasDesignPicture());
        QCOMPARE(box.Point(tw(5), tw(10)), kWhite);
        // Text that is no SVG is refused as it is read; one that fails to parse draws nothing.
        for (const QByteArray &text : {"plain text"_ba, "<p>svg</p>"_ba, "<svg><rect width="_ba}) {
            QCOMPARE(box.setDesignPicture(writeFile(dir, u"other.svg"_s, text)),
                     text.startsWith("<svg"));
            QCOMPARE(box.Point(tw(5), tw(10)), kWhite);
        }

        // Vector devices get shapes and text, not a bitmap; the design picture too.
        PictureBox vector;
        vector.resize(100, 100);
        QVERIFY(vector.setDesignPicture(writeFile(
            dir, u"design.svg"_s, svgOf("<circle cx='5' cy='5' r='4' fill='#0000ff'/>"))));
        drawSample(vector);
        QBuffer out;
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setResolution(96);
        {
            QPainter painter(&svg);
            vector.paintPicture(painter);
        }
        QVERIFY(out.data().contains(">Sun</text>"));
        QVERIFY(!out.data().contains("<image"));
        QCOMPARE(vector.recordedCount(), 6);
        vector.Cls();
        QCOMPARE(vector.recordedCount(), 0);
    }

    // Every read-back pixel comes from the same picture the screen shows at 96 dpi. The screen
    // at pixel ratio 2, or zoomed to 200%, gets the drawing replayed at twice the pixels: the
    // same picture, not an enlarged 96-dpi bitmap.
    void pointReadsTheRasterAndReplaysAtTheDeviceResolution()
    {
        PictureBox box;
        box.resize(100, 100);
        drawSample(box);
        const QImage once = box.image(1);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                QVERIFY2(box.Point(tw(x) + 7, tw(y) + 7) == pixelValue(once, x, y),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        const QImage twice = box.image(2);
        QCOMPARE(twice.size(), QSize(200, 200));
        QVERIFY(meanDifferenceFromHalf(once, twice) < 4);
        const QImage enlarged = once.scaled(200, 200).convertToFormat(QImage::Format_RGB32);
        QVERIFY(twice.convertToFormat(QImage::Format_RGB32) != enlarged);

        QImage screen(200, 200, QImage::Format_RGB32);
        screen.setDevicePixelRatio(2);
        box.render(&screen);
        QCOMPARE(screen, twice);

        // Zoomed: the widget is twice the size, its twips and what was drawn are not.
        box.setZoom(2);
        box.resize(200, 200);
        QCOMPARE(box.ScaleWidth(), 1500.0);
        QCOMPARE(box.designSize(), QSize(100, 100));
        QImage zoomed(200, 200, QImage::Format_RGB32);
        box.render(&zoomed);
        zoomed.setDevicePixelRatio(2);
        QCOMPARE(zoomed, twice);
        QCOMPARE(box.Point(tw(70), tw(70)), kGreen);
        // Presses are reported in twips of the drawing.
        QSignalSpy down(&box, &PictureBox::mouseDown);
        QTest::mousePress(&box, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 40));
        QCOMPARE(down.at(0),
                 (QVariantList{QVariant::fromValue(Qt::LeftButton),
                               QVariant::fromValue(Qt::KeyboardModifiers(Qt::ShiftModifier)), 150.0,
                               300.0}));
    }

    void unusableNumbersDrawNothing()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        PictureBox box;
        box.resize(50, 50);
        box.setFillSolid(true);
        box.Line(nan, tw(10), tw(40), tw(10));
        box.Box(tw(1), tw(1), inf, tw(10), true);
        box.Circle(tw(25), tw(25), inf);
        box.Pie(tw(25), tw(25), tw(10), nan, 1);
        box.PrintRotated(u"X"_s, tw(25), tw(25), nan);
        QVERIFY(inkBounds(box.image()).isNull());
        QCOMPARE(box.Point(nan, 0), -1);
        QCOMPARE(box.Point(-1e300, 0), -1);
        box.Line(-1e12, tw(20), 1e12, tw(20)); // far ends are clipped, not overflowed
        QCOMPARE(inkBounds(box.image()), QRect(0, 20, 50, 1));
    }
};

QTEST_MAIN(PictureBoxTest)
#include "picturebox_test.moc"
