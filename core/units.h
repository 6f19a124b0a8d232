#pragma once

#include <QtGlobal>

namespace velmora {

/// The design measures the window in twips: 1/1440 inch, 15 to a pixel.
inline constexpr int kTwipsPerPixel = 15;

/// Twips to pixels, to the nearest pixel.
constexpr int twipsToPixels(double twips)
{
    const double px = twips / kTwipsPerPixel;
    return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

/// Twips to (fractional) pixels, for drawing that keeps sub-pixel precision.
constexpr double twipsToPixelsF(double twips)
{
    return twips / kTwipsPerPixel;
}

constexpr double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}

/// A colour as the design writes it: red + 256 x green + 65536 x blue.
struct DesignColour
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;

    constexpr bool operator==(const DesignColour &) const = default;
};

/// Splits a design colour value; bits above the 24 colour bits are ignored.
constexpr DesignColour colourFromValue(qint64 value)
{
    const auto v = static_cast<quint32>(value & 0xFFFFFF);
    return {static_cast<quint8>(v & 0xFF), static_cast<quint8>((v >> 8) & 0xFF),
            static_cast<quint8>((v >> 16) & 0xFF)};
}

constexpr qint32 colourValue(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

constexpr qint32 colourValue(DesignColour c)
{
    return colourValue(c.red, c.green, c.blue);
}

} // namespace velmora
