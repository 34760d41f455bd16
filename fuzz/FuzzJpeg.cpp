// Feeds arbitrary bytes to the about window's JPEG decoder. It may refuse them, but it
// must not crash, leak or exit, and a picture it does give is a whole RGB32 picture
// within the size it promises to stay under.

#include "runtime/JpegDecoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QImage picture = JpegDecoder::decode(QByteArrayView(data, qsizetype(size)));
    if (picture.isNull())
        return 0;
    if (picture.format() != QImage::Format_RGB32 || picture.width() <= 0 || picture.height() <= 0
        || qint64(picture.width()) * picture.height() > JpegDecoder::maxPixels)
        std::abort();
    return 0;
}
