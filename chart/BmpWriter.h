#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Windows bitmap files of 24 bits per pixel, no colour table: a 14-byte file header, a
// 40-byte information header and the rows bottom-up, each padded to 4 bytes.
class BmpWriter
{
public:
    static QByteArray encode(const QImage &image);

    // Creates or replaces the file, which appears only when complete. Throws
    // EFCreateError when it cannot be created and EWriteError when not every byte is
    // stored; then an earlier file of that name stays as it was.
    static void save(const QImage &image, const QString &fileName);
};
