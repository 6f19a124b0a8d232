#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QWidget>

class QFontMetricsF;
class QPainterPath;

namespace velmora {

/// A drawing surface addressed in twips (15 to a pixel) from its top-left corner, y downwards.
///
/// Drawing is retained: every call paints at once into an image the box owns, and paintEvent only
/// copies that image to the screen, so the drawing survives covering, repaints and resizing. A
/// drawing call only schedules an update(), which Qt merges, so hundreds of calls in one handler
/// cost one repaint.
///
/// Under the drawing lies an optional design picture; Cls() removes what the program drew and
/// leaves the design picture. Colours are design colour values (red + 256 x green + 65536 x blue).
///
/// Pixel mapping: pixel i covers the twips 15 i to 15 i + 15, so the twip position x lies in
/// pixel floor(x / 15). Lines and boxes snap to whole pixels (diagonal lines are smoothed), text
/// starts on a whole pixel, circles and sectors are antialiased at their exact position.
///
/// One painter stays open on the image across a run of drawing calls and is ended before the
/// image is shown or read, so a drawing of a hundred calls pays for one painter, not a hundred.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);
    ~PictureBox() override;
    Q_DISABLE_COPY_MOVE(PictureBox)

    // --- design picture -------------------------------------------------------------------
    /// Sets the picture that lies under the drawing, drawn unscaled at the top-left corner.
    /// Like Cls(), this removes what the program drew.
    void setDesignPicture(const QImage &picture);
    /// Loads an SVG file or resource and renders it at the size of the box (again after each
    /// resize). Returns false, and leaves the box without a design picture, when the file cannot
    /// be read as SVG.
    bool setDesignPicture(const QString &svgPath);
    void clearDesignPicture();
    bool hasDesignPicture() const;

    // --- drawing -------------------------------------------------------------------------
    /// Removes what the program drew: the box shows its back colour and the design picture.
    /// The current position returns to (0, 0).
    void Cls();
    /// Line in the foreground colour (or the given colour); nothing when the pen is invisible.
    void Line(double x1, double y1, double x2, double y2);
    void Line(double x1, double y1, double x2, double y2, qint32 colour);
    /// Box with corners (x1, y1) and (x2, y2), both corner pixels included.
    /// Outline (filled = false): drawn with the pen in the foreground colour; invisible pen draws
    /// nothing. Filled (filled = true): the whole box, outline included, painted in the foreground
    /// colour, whatever the pen. FillColor and FillSolid do not apply to boxes.
    void Box(double x1, double y1, double x2, double y2, bool filled);
    /// As above with an explicit colour instead of the foreground colour.
    void Box(double x1, double y1, double x2, double y2, qint32 colour, bool filled);
    /// Circle about (x, y): outline in the foreground colour (unless the pen is invisible),
    /// filled with FillColor when FillSolid is set.
    void Circle(double x, double y, double radius);
    /// As above with an explicit outline colour.
    void Circle(double x, double y, double radius, qint32 colour);
    /// Pie sector about (x, y) from startAngle to endAngle, in radians counter-clockwise from
    /// 3 o'clock. The sector runs counter-clockwise from start to end, across 3 o'clock when end
    /// is smaller than start; angles outside 0..2 pi are taken modulo 2 pi. It is always filled
    /// with FillColor (whatever FillSolid says); arc and radii are drawn in the foreground colour
    /// unless the pen is invisible. Equal angles give nothing.
    void Pie(double x, double y, double radius, double startAngle, double endAngle);
    /// Prints text with its top-left corner at the current position in the foreground colour,
    /// on a transparent background. With newLine, the current position then moves to the start
    /// of the next line (x = 0, y + TextHeight); without, it moves right by TextWidth. Text with
    /// line breaks prints each line below the previous one, starting at the same x.
    void Print(const QString &text, bool newLine = true);
    /// Prints text rotated clockwise by angleDegrees about its own centre, which is placed at
    /// (x, y). The current position does not change.
    void PrintRotated(const QString &text, double x, double y, double angleDegrees);

    // --- current position ----------------------------------------------------------------
    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }

    // --- drawing font ----------------------------------------------------------------------
    /// The drawing font starts as the widget's font and follows setFont(); these setters change
    /// only the drawing font, so child widgets of the box keep theirs.
    void setFontName(const QString &family);
    void setFontSize(double points);
    void setFontBold(bool bold);
    void setFontItalic(bool italic);
    QString fontName() const;
    double fontSize() const;
    bool fontBold() const;
    bool fontItalic() const;
    const QFont &drawFont() const { return m_font; }

    // --- colours and pen -----------------------------------------------------------------
    void setForeColor(qint32 colour) { m_foreColor = colour; }
    void setFillColor(qint32 colour) { m_fillColor = colour; }
    /// Sets the back colour; like Cls(), this removes what the program drew.
    void setBackColor(qint32 colour);
    qint32 foreColor() const { return m_foreColor; }
    qint32 fillColor() const { return m_fillColor; }
    qint32 backColor() const { return m_backColor; }
    /// Pen width in pixels, at least 1.
    void setDrawWidth(int pixels);
    int drawWidth() const { return m_drawWidth; }
    /// An invisible pen: lines, outlines and sector edges are not drawn; fills still are.
    void setPenInvisible(bool invisible) { m_penInvisible = invisible; }
    bool penInvisible() const { return m_penInvisible; }
    void setFillSolid(bool solid) { m_fillSolid = solid; }
    bool fillSolid() const { return m_fillSolid; }

    // --- measures and read-back ------------------------------------------------------------
    /// Width and height of text in the current font, in twips (measured at 96 dots per inch,
    /// whatever the screen). Several lines measure as the widest line and the sum of line heights.
    double TextWidth(const QString &text) const;
    double TextHeight(const QString &text) const;
    /// Design colour value of the pixel at the twip position (design picture and drawing
    /// together), -1 outside the box.
    qint32 Point(double x, double y) const;
    double ScaleWidth() const;
    double ScaleHeight() const;
    /// The composed surface: design picture and drawing, one image pixel per widget pixel.
    const QImage &image() const;
    /// Goes up with every change of the surface (a drawing call, Cls, a new size or design
    /// picture), so whoever drew last can tell that the box still shows its drawing.
    quint64 revision() const { return m_revision; }

Q_SIGNALS:
    /// Mouse button pressed or released over the box; x and y in twips.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage blankSurface(QSize size) const;
    // A hidden widget gets its resize event only when shown, so every entry point checks the
    // surface against the current size itself.
    void ensureSurface() const;
    void resetSurface();
    /// The open painter on the surface (opened when needed); counts a change of the drawing.
    QPainter *surfacePainter();
    void endPainting() const;
    void fillPixels(QRect pixels, qint32 colour);
    void strokeStraight(QPoint from, QPoint to, qint32 colour);
    void paintShape(const QPainterPath &path, bool fill, qint32 outline);
    void drawTextLines(QPainter &painter, const QStringList &lines, const QFontMetricsF &metrics,
                       QPointF topLeft) const;

    mutable QImage m_surface;
    // Back colour and design picture at the current size, kept for the next Cls.
    mutable QImage m_blank;
    mutable QPainter m_painter;
    mutable quint64 m_revision = 0;
    QImage m_designImage;
    QByteArray m_designSvg;
    QFont m_font;
    double m_currentX = 0;
    double m_currentY = 0;
    qint32 m_foreColor = 0;
    qint32 m_fillColor = 0;
    qint32 m_backColor = 0xFFFFFF;
    int m_drawWidth = 1;
    bool m_penInvisible = false;
    bool m_fillSolid = false;
};

} // namespace velmora
