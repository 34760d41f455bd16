#include "chart/BmpWriter.h"

#include "chart/FileOutput.h"

#include <QtEndian>

namespace {

constexpr int fileHeaderSize = 14;
constexpr int infoHeaderSize = 40;

void put16(char *at, quint16 value) { qToLittleEndian(value, at); }
void put32(char *at, quint32 value) { qToLittleEndian(value, at); }

} // namespace

QByteArray BmpWriter::encode(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    const int rowSize = (width * 3 + 3) & ~3;
    const int pixelOffset = fileHeaderSize + infoHeaderSize;
    const qint64 imageSize = qint64(rowSize) * height;
    QByteArray file(pixelOffset + imageSize, '\0');
    char *h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, quint32(file.size()));
    put32(h + 10, pixelOffset);
    put32(h + 14, infoHeaderSize);
    put32(h + 18, quint32(width));
    put32(h + 22, quint32(height)); // positive: rows stored bottom-up
    put16(h + 26, 1);               // planes
    put16(h + 28, 24);              // bits per pixel
    put32(h + 30, 0);               // no compression
    put32(h + 34, quint32(imageSize));
    // Resolution 0: no preferred print size; colours used and important 0: all of them.
    for (int y = 0; y < height; ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(rgb.constScanLine(height - 1 - y));
        char *row = h + pixelOffset + qint64(y) * rowSize;
        for (qsizetype x = 0; x < width; ++x) {
            row[3 * x] = char(qBlue(source[x]));
            row[3 * x + 1] = char(qGreen(source[x]));
            row[3 * x + 2] = char(qRed(source[x]));
        }
    }
    return file;
}

void BmpWriter::save(const QImage &image, const QString &fileName)
{
    const QByteArray bytes = encode(image);
    FileOutput file(fileName);
    file.write(bytes);
    file.commit();
}
