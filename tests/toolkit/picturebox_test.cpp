#include "core/units.h"
#include "toolkit/picturebox.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <numbers>

using namespace velmora;

namespace {

constexpr qint32 kWhite = 0xFFFFFF;
constexpr qint32 kRed = 255;
constexpr qint32 kGreen = 65280;
constexpr qint32 kBlue = 16711680;
constexpr double kPi = std::numbers::pi;

// Twips of the top-left corner of pixel p.
constexpr double tw(int p)
{
    return p * 15.0;
}

qint32 pixelValue(const QImage &image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return colourValue(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// The bounding rectangle of pixels that differ from the back colour.
QRect inkBounds(const QImage &image, qint32 back)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixelValue(image, x, y) != back)
                bounds = bounds.united(QRect(x, y, 1, 1));
    return bounds;
}

class CountingBox : public PictureBox
{
public:
    int paints = 0;

protected:
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
    void scaleAndOutside();
    void colourConvention_data();
    void colourConvention();
    void straightLineCoversPenWidth_data();
    void straightLineCoversPenWidth();
    void diagonalLineAndInvisiblePen();
    void boxes();
    void circles();
    void pieSectors_data();
    void pieSectors();
    void pieEdgesUseForeColour();
    void printPlacesTopLeftAndAdvances();
    void textMeasuresFollowFont();
    void rotatedTextIsCentred();
    void drawingSurvivesResizeAndRepaint();
    void drawingBeforeShowUsesGeometry();
    void clsKeepsDesignPicture();
    void svgDesignPicture();
    void backColourClears();
    void manyCallsOneRepaint();
    void mouseSignalsInTwips();
    void unusableNumbersDrawNothing();
};

void PictureBoxTest::scaleAndOutside()
{
    PictureBox box;
    box.resize(100, 80);
    QCOMPARE(box.ScaleWidth(), 1500.0);
    QCOMPARE(box.ScaleHeight(), 1200.0);
    QCOMPARE(box.image().size(), QSize(100, 80));
    QCOMPARE(box.Point(0, 0), kWhite);
    QCOMPARE(box.Point(1499, 1199), kWhite);
    QCOMPARE(box.Point(1500, 0), -1);
    QCOMPARE(box.Point(0, 1200), -1);
    QCOMPARE(box.Point(-1, 10), -1);
    QCOMPARE(box.Point(10, -0.5), -1);
}

void PictureBoxTest::colourConvention_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << kRed << QColor(255, 0, 0);
    QTest::newRow("green") << kGreen << QColor(0, 255, 0);
    QTest::newRow("blue") << kBlue << QColor(0, 0, 255);
    QTest::newRow("figure green") << colourValue(0, 153, 51) << QColor(0, 153, 51);
    QTest::newRow("dark red") << qint32(102 + 256 * 51 + 65536 * 51) << QColor(102, 51, 51);
    QTest::newRow("black") << qint32(0) << QColor(0, 0, 0);
}

void PictureBoxTest::colourConvention()
{
    QFETCH(qint32, value);
    QFETCH(QColor, colour);
    PictureBox box;
    box.resize(20, 20);
    box.setForeColor(value);
    box.Box(tw(2), tw(3), tw(5), tw(6), true);
    QCOMPARE(box.Point(tw(2), tw(3)), value);
    QCOMPARE(box.Point(tw(5) + 14, tw(6) + 14), value); // anywhere inside the corner pixel
    QCOMPARE(QColor(box.image().pixel(4, 4)), colour);
    QCOMPARE(box.Point(tw(6), tw(6)), kWhite);

    box.setBackColor(value);
    QCOMPARE(QColor(box.image().pixel(19, 19)), colour);
}

void PictureBoxTest::straightLineCoversPenWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("lastRow");
    QTest::newRow("1 pixel") << 1 << 20 << 20;
    QTest::newRow("2 pixels") << 2 << 20 << 21;
    QTest::newRow("3 pixels") << 3 << 19 << 21;
    QTest::newRow("5 pixels") << 5 << 18 << 22;
}

void PictureBoxTest::straightLineCoversPenWidth()
{
    QFETCH(int, width);
    QFETCH(int, firstRow);
    QFETCH(int, lastRow);
    PictureBox box;
    box.resize(60, 40);
    box.setForeColor(kBlue);
    box.setDrawWidth(width);
    box.Line(tw(10), tw(20), tw(40), tw(20));
    const QImage &img = box.image();
    for (int y = 0; y < 40; ++y) {
        const bool inside = y >= firstRow && y <= lastRow;
        QCOMPARE(pixelValue(img, 25, y), inside ? kBlue : kWhite);
    }
    QCOMPARE(pixelValue(img, 10, 20), kBlue); // both end points belong to the line
    QCOMPARE(pixelValue(img, 40, 20), kBlue);
    QCOMPARE(pixelValue(img, 10 - width / 2 - 1, 20), kWhite);
    QCOMPARE(pixelValue(img, 40 + width / 2 + 1, 20), kWhite);

    // The same line drawn upwards and vertically covers the mirrored pixels.
    box.Cls();
    box.Line(tw(20), tw(35), tw(20), tw(5));
    QCOMPARE(pixelValue(box.image(), 20, 5), kBlue);
    QCOMPARE(pixelValue(box.image(), 20, 35), kBlue);
    QCOMPARE(inkBounds(box.image(), kWhite).width(), lastRow - firstRow + 1);
}

void PictureBoxTest::diagonalLineAndInvisiblePen()
{
    PictureBox box;
    box.resize(50, 50);
    box.setForeColor(0);
    box.setDrawWidth(3);
    box.Line(tw(5), tw(5), tw(44), tw(44));
    // Smoothed, but the middle of a 3-pixel line is solid.
    QCOMPARE(box.Point(tw(25), tw(25)), 0);
    QCOMPARE(box.Point(tw(40), tw(10)), kWhite);

    box.Cls();
    box.setPenInvisible(true);
    box.Line(tw(5), tw(5), tw(44), tw(44));
    box.Line(tw(5), tw(20), tw(44), tw(20));
    box.Box(tw(10), tw(10), tw(30), tw(30), false);
    QVERIFY(inkBounds(box.image(), kWhite).isNull());
    // A filled box does not need the pen.
    box.Box(tw(10), tw(10), tw(30), tw(30), kRed, true);
    QCOMPARE(inkBounds(box.image(), kWhite), QRect(QPoint(10, 10), QPoint(30, 30)));
}

void PictureBoxTest::boxes()
{
    PictureBox box;
    box.resize(60, 60);
    box.setForeColor(kGreen);
    // Corners given in any order.
    box.Box(tw(40), tw(30), tw(10), tw(20), false);
    const QImage &img = box.image();
    QCOMPARE(pixelValue(img, 10, 20), kGreen);
    QCOMPARE(pixelValue(img, 40, 30), kGreen);
    QCOMPARE(pixelValue(img, 25, 20), kGreen);
    QCOMPARE(pixelValue(img, 10, 25), kGreen);
    QCOMPARE(pixelValue(img, 25, 25), kWhite); // an outline leaves the inside alone
    QCOMPARE(inkBounds(img, kWhite), QRect(QPoint(10, 20), QPoint(40, 30)));

    // A filled box painted over with a smaller outline in another colour, as a calendar cell.
    box.Cls();
    box.Box(tw(10), tw(10), tw(30), tw(25), kBlue, true);
    box.Box(tw(10), tw(10), tw(30), tw(25), kRed, false);
    QCOMPARE(pixelValue(box.image(), 20, 17), kBlue);
    QCOMPARE(pixelValue(box.image(), 30, 25), kRed);
    QCOMPARE(pixelValue(box.image(), 31, 26), kWhite);
    // Parts outside the surface are clipped, not wrapped.
    box.Box(-tw(5), -tw(5), tw(2), tw(2), kRed, true);
    QCOMPARE(pixelValue(box.image(), 0, 0), kRed);
    QCOMPARE(pixelValue(box.image(), 59, 59), kWhite);
}

void PictureBoxTest::circles()
{
    PictureBox box;
    box.resize(100, 100);
    box.setForeColor(kBlue);
    box.setDrawWidth(3);
    box.Circle(tw(50), tw(50), tw(20));
    QCOMPARE(box.Point(tw(70), tw(50)), kBlue); // on the ring
    QCOMPARE(box.Point(tw(29), tw(50)), kBlue);
    QCOMPARE(box.Point(tw(50), tw(50)), kWhite); // outline only
    QCOMPARE(box.Point(tw(75), tw(50)), kWhite);

    box.Cls();
    box.setFillSolid(true);
    box.setFillColor(kRed);
    box.Circle(tw(50), tw(50), tw(20), kGreen);
    QCOMPARE(box.Point(tw(50), tw(50)), kRed);
    QCOMPARE(box.Point(tw(70), tw(50)), kGreen);

    box.Cls();
    box.setPenInvisible(true);
    box.Circle(tw(50), tw(50), tw(20));
    QCOMPARE(box.Point(tw(50), tw(50)), kRed);
    QCOMPARE(box.Point(tw(68), tw(50)), kRed); // the fill reaches the rim, no ring on it
    QCOMPARE(box.Point(tw(72), tw(50)), kWhite);
}

void PictureBoxTest::pieSectors_data()
{
    // Which quadrants are filled, sampled at 45 degrees within each: upper-right, upper-left,
    // lower-left, lower-right (on screen).
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QList<bool>>("filled");
    QTest::newRow("0 to pi/2") << 0.0 << kPi / 2 << QList<bool>{true, false, false, false};
    QTest::newRow("pi/2 to pi") << kPi / 2 << kPi << QList<bool>{false, true, false, false};
    QTest::newRow("pi to 3pi/2") << kPi << 3 * kPi / 2 << QList<bool>{false, false, true, false};
    QTest::newRow("3pi/2 to 2pi") << 3 * kPi / 2 << 2 * kPi
                                  << QList<bool>{false, false, false, true};
    QTest::newRow("across 3 o'clock")
        << 3 * kPi / 2 << kPi / 2 << QList<bool>{true, false, false, true};
    QTest::newRow("end before start, large")
        << kPi / 4 + 0.2 << kPi / 4 - 0.2 << QList<bool>{false, true, true, true};
    QTest::newRow("beyond one turn")
        << 2 * kPi + 0.1 << 2 * kPi + 1.4 << QList<bool>{true, false, false, false};
    QTest::newRow("negative") << -kPi / 2 << 0.0 << QList<bool>{false, false, false, true};
    QTest::newRow("whole turn") << 0.0 << 2 * kPi << QList<bool>{true, true, true, true};
    QTest::newRow("equal angles") << 1.0 << 1.0 << QList<bool>{false, false, false, false};
}

void PictureBoxTest::pieSectors()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QList<bool>, filled);
    PictureBox box;
    box.resize(200, 200);
    box.setPenInvisible(true);
    box.setFillColor(kRed);
    box.Pie(tw(100), tw(100), tw(80), start, end);
    const QPoint samples[] = {{130, 70}, {70, 70}, {70, 130}, {130, 130}};
    for (int q = 0; q < 4; ++q) {
        const qint32 expected = filled[q] ? kRed : kWhite;
        QVERIFY2(pixelValue(box.image(), samples[q].x(), samples[q].y()) == expected,
                 qPrintable(QStringLiteral("quadrant %1").arg(q)));
    }
    // Nothing outside the radius.
    QCOMPARE(pixelValue(box.image(), 190, 100), kWhite);
}

void PictureBoxTest::pieEdgesUseForeColour()
{
    PictureBox box;
    box.resize(200, 200);
    box.setForeColor(kBlue);
    box.setFillColor(kRed);
    box.setDrawWidth(3);
    box.Pie(tw(100), tw(100), tw(80), 0, kPi / 2);
    QCOMPARE(pixelValue(box.image(), 140, 99), kBlue);   // the radius to 3 o'clock
    QCOMPARE(pixelValue(box.image(), 100, 140), kWhite); // below the centre: outside
    QCOMPARE(pixelValue(box.image(), 130, 70), kRed);
}

void PictureBoxTest::printPlacesTopLeftAndAdvances()
{
    PictureBox box;
    box.resize(300, 200);
    box.setFontName(QStringLiteral("DejaVu Sans"));
    box.setFontSize(14);
    box.setForeColor(0);
    box.setCurrentX(tw(40));
    box.setCurrentY(tw(30));
    const QString text = QStringLiteral("HWH");
    const double w = box.TextWidth(text);
    const double h = box.TextHeight(text);
    box.Print(text);

    const QRect ink = inkBounds(box.image(), kWhite);
    QVERIFY(!ink.isNull());
    QVERIFY(ink.left() >= 40 && ink.left() <= 42);
    QVERIFY(ink.top() >= 30);
    QVERIFY(ink.right() <= 40 + twipsToPixels(w));
    QVERIFY(ink.bottom() <= 30 + twipsToPixels(h));
    // Capital letters reach the ascent line: within a few pixels of the top of the text line.
    const QFontMetricsF fm(box.drawFont(), &box.image());
    QVERIFY(std::abs(ink.top() - (30 + fm.ascent() - fm.capHeight())) <= 1.5);

    QCOMPARE(box.currentX(), 0.0);
    QCOMPARE(box.currentY(), tw(30) + h);

    // The next line starts below the first one, at the left edge.
    box.Print(QStringLiteral("H"));
    const QRect both = inkBounds(box.image(), kWhite);
    QVERIFY(both.bottom() > ink.bottom() + twipsToPixels(h) / 2);
    QVERIFY(both.left() <= 1);

    // Without a new line the position moves right by the width printed.
    box.Cls();
    box.setCurrentX(tw(10));
    box.setCurrentY(tw(10));
    box.Print(QStringLiteral("AB"), false);
    QCOMPARE(box.currentX(), tw(10) + box.TextWidth(QStringLiteral("AB")));
    QCOMPARE(box.currentY(), tw(10));
}

void PictureBoxTest::textMeasuresFollowFont()
{
    PictureBox box;
    box.resize(100, 100);
    box.setFontName(QStringLiteral("DejaVu Sans"));
    box.setFontSize(12);
    // 12 points at 96 dots per inch are 16 pixels, whatever the screen says.
    const double height = box.TextHeight(QStringLiteral("Xg"));
    QVERIFY2(height >= 16 * 15 && height <= 16 * 15 * 1.5, qPrintable(QString::number(height)));
    QCOMPARE(box.TextHeight(QStringLiteral("a\r\nb")), 2 * box.TextHeight(QStringLiteral("a")));
    QCOMPARE(box.TextWidth(QString()), 0.0);
    QCOMPARE(box.TextWidth(QStringLiteral("ab\nabcd")), box.TextWidth(QStringLiteral("abcd")));

    const double narrow = box.TextWidth(QStringLiteral("Mercury"));
    box.setFontBold(true);
    QVERIFY(box.fontBold());
    QVERIFY(box.TextWidth(QStringLiteral("Mercury")) > narrow);
    box.setFontBold(false);
    box.setFontSize(24);
    QCOMPARE(box.fontSize(), 24.0);
    QVERIFY(std::abs(box.TextWidth(QStringLiteral("Mercury")) / narrow - 2) < 0.15);

    // Sizes that make no sense are ignored.
    box.setFontSize(0);
    box.setFontSize(-3);
    QCOMPARE(box.fontSize(), 24.0);
}

void PictureBoxTest::rotatedTextIsCentred()
{
    PictureBox box;
    box.resize(200, 200);
    box.setFontName(QStringLiteral("DejaVu Sans"));
    box.setFontSize(20);
    box.setForeColor(0);
    box.PrintRotated(QStringLiteral("IIIIII"), tw(100), tw(100), 90);
    const QRect ink = inkBounds(box.image(), kWhite);
    // A row of strokes turned a quarter turn stands taller than wide, about the given centre.
    QVERIFY(ink.height() > 2 * ink.width());
    QVERIFY(std::abs(ink.center().x() - 100) <= 6);
    QVERIFY(std::abs(ink.center().y() - 100) <= 6);
    QCOMPARE(box.currentX(), 0.0);
}

void PictureBoxTest::drawingSurvivesResizeAndRepaint()
{
    PictureBox box;
    box.resize(80, 60);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setForeColor(kRed);
    box.Box(tw(5), tw(5), tw(20), tw(20), true);
    box.setDrawWidth(2);
    box.Circle(tw(50), tw(30), tw(15));

    const QImage before = box.image().copy();
    QCOMPARE(box.grab().toImage().convertToFormat(QImage::Format_RGB32), before);

    box.hide(); // covered and uncovered
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.repaint();
    QCOMPARE(box.grab().toImage().convertToFormat(QImage::Format_RGB32), before);

    box.setBackColor(kWhite);
    box.Box(tw(5), tw(5), tw(20), tw(20), true);
    box.resize(120, 90);
    QCoreApplication::processEvents();
    const QImage after = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(after.size(), QSize(120, 90));
    QCOMPARE(pixelValue(after, 10, 10), kRed);
    QCOMPARE(pixelValue(after, 100, 80), kWhite); // the grown part shows the back colour
    QCOMPARE(box.Point(tw(10), tw(10)), kRed);
}

void PictureBoxTest::drawingBeforeShowUsesGeometry()
{
    // Pages are drawn during start-up, before the window is shown and resize events arrive.
    QWidget page;
    auto *box = new PictureBox(&page);
    box->setGeometry(10, 10, 150, 120);
    QCOMPARE(box->ScaleWidth(), 2250.0);
    box->setForeColor(kBlue);
    box->Box(tw(140), tw(110), tw(149), tw(119), true);
    QCOMPARE(box->Point(tw(145), tw(115)), kBlue);
    QCOMPARE(box->image().size(), QSize(150, 120));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(box->Point(tw(145), tw(115)), kBlue);
}

void PictureBoxTest::clsKeepsDesignPicture()
{
    QImage design(10, 10, QImage::Format_ARGB32);
    design.fill(Qt::transparent);
    design.setPixelColor(2, 2, QColor(0, 0, 255));

    PictureBox box;
    box.resize(30, 30);
    box.setDesignPicture(design);
    QVERIFY(box.hasDesignPicture());
    QCOMPARE(box.Point(tw(2), tw(2)), kBlue);
    QCOMPARE(box.Point(tw(3), tw(3)), kWhite); // transparent parts show the back colour

    box.setForeColor(kRed);
    box.Box(0, 0, tw(20), tw(20), true);
    box.setCurrentX(500);
    QCOMPARE(box.Point(tw(2), tw(2)), kRed);
    box.Cls();
    QCOMPARE(box.Point(tw(2), tw(2)), kBlue);
    QCOMPARE(box.Point(tw(15), tw(15)), kWhite);
    QCOMPARE(box.currentX(), 0.0);

    box.clearDesignPicture();
    QVERIFY(!box.hasDesignPicture());
    QCOMPARE(box.Point(tw(2), tw(2)), kWhite);
}

void PictureBoxTest::svgDesignPicture()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("half.svg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 10">)"
               R"(<rect x="0" y="0" width="5" height="10" fill="#00ff00"/></svg>)");
    file.close();

    PictureBox box;
    box.resize(40, 20);
    QVERIFY(box.setDesignPicture(path));
    // Rendered at the size of the box: the left half is green.
    QCOMPARE(box.Point(tw(5), tw(10)), kGreen);
    QCOMPARE(box.Point(tw(18), tw(19)), kGreen);
    QCOMPARE(box.Point(tw(22), tw(10)), kWhite);
    box.Line(0, tw(10), tw(39), tw(10));
    box.Cls();
    QCOMPARE(box.Point(tw(5), tw(10)), kGreen);

    QVERIFY(!box.setDesignPicture(dir.filePath(QStringLiteral("missing.svg"))));
    QVERIFY(!box.hasDesignPicture());
    QCOMPARE(box.Point(tw(5), tw(10)), kWhite);
}

void PictureBoxTest::backColourClears()
{
    PictureBox box;
    box.resize(20, 20);
    box.setForeColor(0);
    box.Box(0, 0, tw(5), tw(5), true);
    box.setBackColor(kGreen);
    QCOMPARE(box.backColor(), kGreen);
    QCOMPARE(box.Point(tw(2), tw(2)), kGreen);
    box.Box(0, 0, tw(5), tw(5), true);
    box.Cls();
    QCOMPARE(box.Point(tw(2), tw(2)), kGreen);
}

void PictureBoxTest::manyCallsOneRepaint()
{
    CountingBox box;
    box.resize(100, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCoreApplication::processEvents();
    box.paints = 0;
    for (int i = 0; i < 300; ++i) {
        box.Line(tw(i % 100), 0, tw(i % 100), tw(99));
        box.Circle(tw(50), tw(50), tw(i % 40));
    }
    QCOMPARE(box.paints, 0); // drawing does not paint the screen by itself
    QTRY_VERIFY(box.paints >= 1);
    QVERIFY(box.paints <= 2);
}

void PictureBoxTest::mouseSignalsInTwips()
{
    PictureBox box;
    box.resize(100, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy down(&box, &PictureBox::mouseDown);
    QSignalSpy up(&box, &PictureBox::mouseUp);
    QTest::mousePress(&box, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
    QTest::mouseRelease(&box, Qt::RightButton, Qt::ControlModifier, QPoint(30, 40));
    QCOMPARE(down.count(), 1);
    QCOMPARE(down.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(down.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    QCOMPARE(down.at(0).at(2).toDouble(), 150.0);
    QCOMPARE(down.at(0).at(3).toDouble(), 300.0);
    QCOMPARE(up.count(), 1);
    QCOMPARE(up.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(up.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
    QCOMPARE(up.at(0).at(2).toDouble(), 450.0);
}

void PictureBoxTest::unusableNumbersDrawNothing()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    PictureBox box;
    box.resize(50, 50);
    box.setFillSolid(true);
    box.Line(nan, tw(10), tw(40), tw(10));
    box.Line(tw(10), tw(10), tw(40), inf);
    box.Box(tw(1), tw(1), nan, tw(10), true);
    box.Circle(tw(25), tw(25), inf);
    box.Pie(tw(25), tw(25), tw(10), nan, 1);
    box.PrintRotated(QStringLiteral("X"), tw(25), tw(25), nan);
    QVERIFY(inkBounds(box.image(), kWhite).isNull());
    QCOMPARE(box.Point(nan, 0), -1);
    QCOMPARE(box.Point(0, 1e300), -1);
    QCOMPARE(box.Point(-1e300, 0), -1);

    // Far-away ends are clipped to the surface rather than overflowing.
    box.Line(-1e12, tw(20), 1e12, tw(20));
    QCOMPARE(box.Point(0, tw(20)), 0);
    QCOMPARE(box.Point(tw(49), tw(20)), 0);
    QCOMPARE(box.Point(tw(25), tw(21)), kWhite);
}

QTEST_MAIN(PictureBoxTest)
#include "picturebox_test.moc"
