#pragma once

// What the picture box's two halves share: the recorded drawing call, kept by the calls that
// draw (picturebox.cpp) and played back by the painting (picturepainting.cpp).

#include "core/units.h"
#include "toolkit/picturebox.h"

#include <QColor>
#include <QFont>
#include <QPaintEngine>
#include <QPainter>
#include <QString>

namespace velmora {

namespace picturedetail {

inline QColor toColor(qint32 value)
{
    const DesignColour c = colourFromValue(value);
    return {c.red, c.green, c.blue};
}

inline bool isRaster(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster;
}

} // namespace picturedetail

/// One recorded drawing call, in twips, with the state it was drawn in.
struct PictureBox::Op
{
    enum class Kind : quint8
    {
        Line,
        Box,
        FilledBox,
        Shape,
        Text,
        RotatedText
    };

    Kind kind = Kind::Line;
    bool fill = false;    // Shape: filled with fillColour
    bool outline = false; // Shape: outline drawn in colour
    int width = 1;        // pen width in design pixels
    qint32 colour = 0;
    qint32 fillColour = 0;
    // Line and boxes: the two corners. Shape: centre and radius (x2). Text: the top-left corner.
    // Rotated text: its centre.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // Shape: start and span in degrees, span 0 for a whole circle. Rotated text: the angle.
    double start = 0, span = 0;
    // Text: measures in design pixels, taken when it was printed.
    double ascent = 0, lineHeight = 0, textWidth = 0, textHeight = 0;
    QString text;
    QFont font;

    /// A call drawn with a pen: its kind, corners (or centre and radius), colour and width.
    static Op stroke(Kind kind, double x1, double y1, double x2, double y2, qint32 colour,
                     int width)
    {
        Op op;
        op.kind = kind;
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.colour = colour;
        op.width = width;
        return op;
    }

    friend bool operator==(const Op &, const Op &) = default;
};

} // namespace velmora
