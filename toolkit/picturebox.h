#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <future>
#include <memory>
#include <optional>
#include <vector>

class QFontMetricsF;
class QPainter;
class QSvgRenderer;

namespace velmora {

/// A drawing surface addressed in twips (15 to a design pixel) from its top-left corner, y
/// downwards.
///
/// Drawing is retained as a list: every call records what it draws, in twips, with the colour,
/// pen and font in force, and painting replays the list since the last Cls() through QPainter
/// at whatever resolution the device has (the screen keeps the result until the drawing changes).
/// So the drawing survives covering and repaints, is as sharp as a high-density screen allows,
/// scales with the window's zoom, and goes to a PDF, an SVG file or a printer as vector shapes and
/// text. A drawing call only schedules an update(), which Qt merges, so hundreds of calls in one
/// handler cost one repaint.
///
/// Under the drawing lies an optional design picture; Cls() removes what the program drew and
/// leaves the design picture. Colours are design colour values (red + 256 x green + 65536 x blue).
///
/// Pixel mapping: at zoom 1 on a plain screen, pixel i covers the twips 15 i to 15 i + 15, so the
/// twip position x lies in pixel floor(x / 15). Lines and boxes snap to whole design pixels
/// (diagonal lines are smoothed), text starts on a whole design pixel, circles and sectors are
/// antialiased at their exact position. On a denser device each design pixel is simply drawn
/// larger, so the picture keeps its proportions at every resolution.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);
    ~PictureBox() override;
    Q_DISABLE_COPY_MOVE(PictureBox)

    // --- design picture -------------------------------------------------------------------
    /// Sets the picture that lies under the drawing, drawn at the top-left corner, one picture
    /// pixel to a design pixel. Like Cls(), this removes what the program drew.
    void setDesignPicture(const QImage &picture);
    /// Loads an SVG file or resource, drawn over the whole box at every resolution. Returns
    /// false, and leaves the box without a design picture, when the file cannot be read or its
    /// root is no SVG element; the rest is parsed when first drawn, and draws nothing if broken.
    /// Where the build left a ready picture of it for the scale a paint needs (designraster.h),
    /// that picture is laid over the back colour instead.
    bool setDesignPicture(const QString &svgPath);
    void clearDesignPicture();
    bool hasDesignPicture() const;
    /// Renders the SVG design pictures of these boxes for their present size, zoom and screen on
    /// a thread of its own, one after the other, so that their first paint finds them ready: the
    /// text of a picture is drawn as outlines, which takes longer than the rest of a start (a
    /// ready picture of the build only needs reading). A box whose size, zoom, screen or picture
    /// changes meanwhile renders its own as before.
    static void prepareDesignLayers(const std::vector<PictureBox *> &boxes);

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
    /// The drawing font starts as the widget's font and follows setFont() (a zoom, which only
    /// scales the widget's font, leaves it alone); these setters change only the drawing font,
    /// so child widgets of the box keep theirs.
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
    /// Pen width in design pixels, at least 1.
    void setDrawWidth(int pixels);
    int drawWidth() const { return m_drawWidth; }
    /// An invisible pen: lines, outlines and sector edges are not drawn; fills still are.
    void setPenInvisible(bool invisible) { m_penInvisible = invisible; }
    bool penInvisible() const { return m_penInvisible; }
    void setFillSolid(bool solid) { m_fillSolid = solid; }
    bool fillSolid() const { return m_fillSolid; }

    // --- zoom ------------------------------------------------------------------------------
    /// Screen pixels per design pixel. The owner sizes the widget (design size times zoom);
    /// the box keeps its twips, so the drawing and ScaleWidth() are the same at every zoom.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }

    // --- measures and read-back ------------------------------------------------------------
    /// Width and height of text in the current font, in twips (measured at 96 dots per inch,
    /// whatever the screen). Several lines measure as the widest line and the sum of line heights.
    double TextWidth(const QString &text) const;
    double TextHeight(const QString &text) const;
    /// Design colour value of the pixel at the twip position (design picture and drawing
    /// together, as a plain 96-dpi screen shows them), -1 outside the box. Answered from a
    /// raster of the whole box made when first asked after a change.
    qint32 Point(double x, double y) const;
    /// Size of the box in twips, whatever the zoom.
    double ScaleWidth() const;
    double ScaleHeight() const;
    /// Size of the box in design pixels (twips / 15).
    QSize designSize() const;
    /// The whole picture rendered at ratio device pixels per design pixel; the image carries
    /// that ratio as its device pixel ratio.
    QImage image(qreal ratio = 1) const;
    /// Goes up with every change of the drawing (a drawing call, Cls, a new design picture or
    /// back colour), so whoever drew last can tell that the box still shows its drawing.
    quint64 revision() const { return m_revision; }
    /// Paints the whole picture onto any painter whose unit is the design pixel: the back colour,
    /// the design picture and the drawing. Raster devices get the design picture from a cache at
    /// their resolution; vector devices (PDF, SVG, printers) get it as vector shapes.
    void paintPicture(QPainter &painter) const;
    /// Number of drawing operations retained since the last Cls().
    int recordedCount() const;

Q_SIGNALS:
    /// Mouse button pressed or released over the box; x and y in twips.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    struct Op;
    struct LayerCache
    {
        QSize pixels;
        QImage image;
    };

    // A design layer being rendered by prepareDesignLayers(), with what it was rendered for.
    struct PreparedLayer
    {
        QSize pixels;
        qreal scale = 1;
        std::shared_future<std::vector<QImage>> images;
        size_t index = 0;
    };

    struct Prefix
    {
        std::vector<Op> ops;
        QImage image;
    };

    void record(Op &&op);
    void forgetPictures();
    void paintOps(QPainter &painter, size_t from, size_t to) const;
    QImage blankImage(qreal ratio) const;
    QSize pixelSize(qreal ratio) const;
    void clearDrawing();
    void paintLayer(QPainter &painter, qreal deviceScale) const;
    const QImage &designLayer(qreal deviceScale) const;
    /// The design picture's renderer, parsed on first use; null when it is no SVG.
    QSvgRenderer *designSvg() const;
    /// The cached picture at a device scale, made anew after a change; null when it would be
    /// too large to keep.
    const QImage *rendered(qreal scale) const;
    void paintOp(QPainter &painter, const Op &op) const;
    const QFontMetricsF &metrics() const;
    QFont designFontOf(const QFont &widgetFont) const;

    std::vector<Op> m_ops;
    QImage m_designImage;
    mutable std::unique_ptr<QSvgRenderer> m_designSvg;
    // The SVG text of the design picture, for renderers on other threads, and where it was read
    // from, where the build's ready pictures of it lie.
    QByteArray m_designSvgData;
    QString m_designSvgPath;
    mutable std::optional<PreparedLayer> m_prepared;
    mutable LayerCache m_layers[2];
    // The whole picture at the resolution it was last painted at, until the drawing changes:
    // repaints of an unchanged picture (covering, tab changes) only copy it.
    mutable QImage m_rendered;
    // The drawing last rendered, and the picture of its first operations that the drawing
    // before it shared.
    mutable std::vector<Op> m_lastOps;
    mutable Prefix m_prefix;
    mutable int m_nextLayer = 0;
    bool m_paintedOnce = false;
    quint64 m_revision = 0;
    QFont m_font;
    // The widget's font at the last font change, taken back to zoom 1.
    QFont m_widgetFont;
    mutable std::unique_ptr<QFontMetricsF> m_metrics;
    double m_zoom = 1;
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
