#include "toolkit/designraster.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace velmora::designraster {

QString path(const QString &svgPath, qreal scale)
{
    const auto *whole = std::find(std::begin(kScales), std::end(kScales), scale);
    if (whole == std::end(kScales) || !svgPath.endsWith(QStringLiteral(".svg")))
        return {};
    return svgPath.chopped(4) + QStringLiteral("@%1x.png").arg(*whole);
}

QSize pixels(QSize design, qreal scale)
{
    const QSizeF exact = QSizeF(design) * scale;
    return {static_cast<int>(std::ceil(exact.width() - 1e-6)),
            static_cast<int>(std::ceil(exact.height() - 1e-6))};
}

QImage render(QSvgRenderer &svg, QSize design, qreal scale, const QColor &background)
{
    QImage image(pixels(design, scale), background.alpha() == 255
                                            ? QImage::Format_RGB32
                                            : QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(background);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(design) * scale));
    }
    image.setDevicePixelRatio(scale);
    return image;
}

QImage ready(const QString &path, QSize design, qreal scale, const QColor &background)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    QImage picture(path);
    if (picture.size() != pixels(design, scale))
        return {};
    // Laid pixel for pixel: the reader takes the "@2x" of the name for a pixel ratio of its own.
    picture.setDevicePixelRatio(1);
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter(&image).drawImage(0, 0, picture);
    image.setDevicePixelRatio(scale);
    return image;
}

} // namespace velmora::designraster
