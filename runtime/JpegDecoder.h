#pragma once

#include <QByteArrayView>
#include <QImage>

// Turns JPEG data into a picture through libjpeg, the only file that talks to it.
// Anything libjpeg cannot decode cleanly (not a JPEG, truncated or corrupt data, a colour
// model without an RGB conversion, an image too large to be a picture we show) gives a
// null QImage: a failed picture stays empty, it never ends the program.
class JpegDecoder
{
public:
    // Above this many pixels the data is taken as hostile rather than as a picture.
    static constexpr qint64 maxPixels = qint64(1) << 24;
    // A progressive file may hold any number of scans; past this many it is refused, so
    // that a crafted file cannot keep the decoder busy.
    static constexpr int maxScans = 500;

    // A picture in QImage::Format_RGB32, or a null image on any failure.
    static QImage decode(QByteArrayView jpeg);
};
