#include "FormChart.h"
#include "chart/BmpWriter.h"
#include "runtime/Exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Header fields; 0 past the end of a short file.
quint32 field32(const QByteArray &file, int offset)
{
    return offset + 4 <= file.size() ? qFromLittleEndian<quint32>(file.constData() + offset) : 0;
}

quint16 field16(const QByteArray &file, int offset)
{
    return offset + 2 <= file.size() ? qFromLittleEndian<quint16>(file.constData() + offset) : 0;
}

// Reads back a 24-bit bottom-up file as written.
QImage decode(const QByteArray &file)
{
    const int width = int(field32(file, 18));
    const int height = int(field32(file, 22));
    const int rowSize = (width * 3 + 3) & ~3;
    if (file.size() < qint64(field32(file, 10)) + qint64(rowSize) * height)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const uchar *>(file.constData()) + field32(file, 10) + (height - 1 - y) * rowSize;
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
    }
    return image;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(BmpWriter, WritesHeaderPaddedRowsBottomUp)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    image.setPixel(1, 0, qRgb(4, 5, 6));
    image.setPixel(2, 0, qRgb(7, 8, 9));
    image.setPixel(0, 1, qRgb(10, 11, 12));
    image.setPixel(1, 1, qRgb(13, 14, 15));
    image.setPixel(2, 1, qRgb(16, 17, 18));
    const QByteArray file = BmpWriter::encode(image);

    ASSERT_EQ(file.size(), 54 + 2 * 12);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    EXPECT_EQ(field32(file, 2), 78u);
    EXPECT_EQ(field32(file, 6), 0u);
    EXPECT_EQ(field32(file, 10), 54u);
    EXPECT_EQ(field32(file, 14), 40u);
    EXPECT_EQ(field32(file, 18), 3u);
    EXPECT_EQ(field32(file, 22), 2u);
    EXPECT_EQ(field16(file, 26), 1u);
    EXPECT_EQ(field16(file, 28), 24u);
    EXPECT_EQ(field32(file, 30), 0u);
    EXPECT_EQ(field32(file, 34), 24u);
    // Bottom row first, blue-green-red, 9 bytes padded to 12.
    const QByteArray rows = file.mid(54);
    EXPECT_EQ(rows, QByteArray::fromHex("0c0b0a 0f0e0d 121110 000000 030201 060504 090807 000000"));
}

class ChartExport : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QTemporaryDir folder;
    FormChart form;
};

TEST_F(ChartExport, FileHoldsTheRenderedPictureAtTheChartSize)
{
    form.series[0]->AppendPoint(0, 100, QString(), clBlack);
    form.series[0]->AppendPoint(2000, 900, QString(), clBlack);
    const QString path = folder.filePath(QStringLiteral("one.bmp"));
    form.chart.SaveBitmapFile(path);

    const QByteArray file = readFile(path);
    const int rowSize = (825 * 3 + 3) & ~3;
    ASSERT_EQ(rowSize, 2476);
    ASSERT_EQ(file.size(), 54 + rowSize * 249);
    EXPECT_EQ(field32(file, 2), quint32(file.size()));
    EXPECT_EQ(field32(file, 18), 825u);
    EXPECT_EQ(field32(file, 22), 249u);
    for (int y = 0; y < 249; ++y)
        ASSERT_EQ(file.at(54 + y * rowSize + 2475), '\0') << "padding of row " << y;
    EXPECT_EQ(differingPixels(decode(file), form.render()), 0);
}

TEST_F(ChartExport, PointAppendedJustBeforeIsInThePicture)
{
    form.chart.show();
    QCoreApplication::processEvents();
    const QString path = folder.filePath(QStringLiteral("late.bmp"));
    form.series[1]->AppendPoint(0, 500, QString(), clRed);
    form.series[1]->AppendPoint(2000, 500, QString(), clRed);
    form.chart.SaveBitmapFile(path);
    EXPECT_GT(pixelsOfColor(decode(readFile(path)), QRect(130, 20, 660, 200), clRed), 600);
}

TEST_F(ChartExport, SecondExportReplacesTheFirst)
{
    const QString path = folder.filePath(QStringLiteral("same.bmp"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(2 * 1024 * 1024, 'x'));
    }
    form.chart.SaveBitmapFile(path);
    form.series[2]->AppendPoint(0, 500, QString(), clLime);
    form.series[2]->AppendPoint(2000, 500, QString(), clLime);
    form.chart.SaveBitmapFile(path);
    const QByteArray file = readFile(path);
    ASSERT_EQ(file.size(), 54 + 2476 * 249);
    EXPECT_EQ(differingPixels(decode(file), form.render()), 0);
}

TEST_F(ChartExport, MissingFolderNamesTheAbsolutePathAndTheSystemError)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    QString message;
    try {
        form.chart.SaveBitmapFile(QStringLiteral("missing/pic.bmp"));
    } catch (const EFCreateError &error) {
        message = error.message();
    }
    QDir::setCurrent(previous);
    EXPECT_EQ(message, QStringLiteral("Cannot create file \"%1/missing/pic.bmp\". No such file or directory")
                           .arg(QDir(folder.path()).canonicalPath()));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("missing"))));
}

TEST_F(ChartExport, PictureGetsTheUsualModeLessTheUmask)
{
    const mode_t previous = umask(027);
    const QString path = folder.filePath(QStringLiteral("mode.bmp"));
    form.chart.SaveBitmapFile(path);
    umask(previous);
    struct stat info{};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

} // namespace
