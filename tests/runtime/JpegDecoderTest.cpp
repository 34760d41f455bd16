#include "runtime/JpegDecoder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray aboutJpeg()
{
    QFile file(QStringLiteral(ONDRIX_ABOUT_JPEG));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The same data with its baseline frame header claiming another size.
QByteArray withFrameSize(QByteArray jpeg, quint16 width, quint16 height)
{
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height & 0xFF);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width & 0xFF);
    return jpeg;
}

} // namespace

TEST(JpegDecoder, DecodesAWholeFileToRgb32)
{
    const QByteArray jpeg = aboutJpeg();
    ASSERT_FALSE(jpeg.isEmpty());
    const QImage picture = JpegDecoder::decode(jpeg);
    EXPECT_EQ(picture.size(), QSize(300, 191));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
}

TEST(JpegDecoder, AnythingButACleanJpegGivesANullPicture)
{
    const QByteArray jpeg = aboutJpeg();
    ASSERT_FALSE(jpeg.isEmpty());
    const qsizetype scan = jpeg.indexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    const qsizetype middle = scan + (jpeg.size() - scan) / 2;

    QByteArray markerInScan = jpeg;
    markerInScan.insert(middle, "\xFF\xD9", 2);
    QByteArray garbledScan = jpeg;
    garbledScan.replace(middle, 64, QByteArray(64, '\xFF'));

    struct Row { const char *what; QByteArray data; };
    const Row rows[] = {
        {"nothing", QByteArray()},
        {"not a JPEG", QByteArrayLiteral("GIF89a not a picture at all")},
        {"only the start marker", jpeg.left(2)},
        {"cut inside the headers", jpeg.left(scan / 2)},
        {"cut at the start of the scan", jpeg.left(scan + 4)},
        {"cut in the middle of the scan", jpeg.left(middle)},
        {"end marker missing", jpeg.chopped(2)},
        {"end marker in the middle of the scan", markerInScan},
        {"garbled scan data", garbledScan},
        {"no frame header", QByteArray(jpeg).replace("\xFF\xC0", "\xFF\xFE")},
        {"width of zero", withFrameSize(jpeg, 0, 191)},
        {"larger than any picture we show", withFrameSize(jpeg, 65535, 65535)},
    };
    for (const Row &row : rows)
        EXPECT_TRUE(JpegDecoder::decode(row.data).isNull()) << row.what;
}
