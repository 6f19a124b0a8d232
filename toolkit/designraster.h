#pragma once

// SVG design pictures drawn ahead of time. Drawing a picture's text as outlines takes longer
// than the rest of a start, so the build renders each picture at the screen scales most
// displays have, and a picture box takes that file instead of drawing it itself.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

class QSvgRenderer;

namespace velmora::designraster {

/// The scales the build renders: plain screens and double-density ones.
inline constexpr int kScales[] = {1, 2};

/// Where the ready picture of the SVG at svgPath lies for scale device pixels per design
/// pixel: beside it, as "<name>@<scale>x.png". Empty for a scale the build does not render.
QString path(const QString &svgPath, qreal scale);

/// The device pixels of a design size at a scale, a part pixel counting whole.
QSize pixels(QSize design, qreal scale);

/// The SVG drawn over background (transparent or not) at scale device pixels per design pixel,
/// the device pixel ratio set. Safe on any thread with a renderer of the thread's own.
QImage render(QSvgRenderer &svg, QSize design, qreal scale, const QColor &background);

/// The ready picture at path laid over background, when it is exactly the size the design
/// takes at scale; a null image otherwise (missing, unreadable, or made for another size).
QImage ready(const QString &path, QSize design, qreal scale, const QColor &background);

} // namespace velmora::designraster
