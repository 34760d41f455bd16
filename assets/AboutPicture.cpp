// Draws the about window's picture, a small sweep chart with six traces and six level
// bars in the channel colours, and writes it as a baseline JPEG of three 8-bit
// components. The result, assets/about.jpg, is committed, so a build never runs this:
//   cmake --build build --target about_picture

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <jpeglib.h>

namespace {

constexpr int width = 300;
constexpr int height = 191;
constexpr QRect plot(8, 8, 215, 175);
constexpr QRect bars(230, 8, 62, 175);
constexpr int quality = 92;

// The series colours of ADC0 .. ADC5, as on the main window.
const QColor channelColours[6] = {QColor(0, 0, 0),     QColor(255, 0, 0),    QColor(0, 255, 0),
                                  QColor(128, 64, 64), QColor(64, 128, 128), QColor(0, 0, 255)};
// How full each level bar is, in per cent.
constexpr int barLevels[6] = {70, 45, 85, 30, 60, 50};

void drawPanel(QPainter &painter, QRect area)
{
    painter.fillRect(area, Qt::white);
    painter.setPen(QColor(0, 0, 0));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void drawTraces(QPainter &painter)
{
    drawPanel(painter, plot);
    painter.setPen(QPen(QColor(220, 220, 220), 1));
    for (int x = plot.left() + 43; x < plot.right(); x += 43)
        painter.drawLine(x, plot.top() + 1, x, plot.bottom() - 1);
    for (int y = plot.top() + 35; y < plot.bottom(); y += 35)
        painter.drawLine(plot.left() + 1, y, plot.right() - 1, y);

    painter.setRenderHint(QPainter::Antialiasing);
    for (int channel = 0; channel < 6; ++channel) {
        const double middle = plot.top() + 22 + channel * 26;
        const double period = 60 + channel * 17;
        QPainterPath trace;
        for (int x = plot.left() + 2; x < plot.right() - 1; ++x) {
            const double y = middle + 14 * std::sin(2 * M_PI * x / period + channel);
            x == plot.left() + 2 ? trace.moveTo(x, y) : trace.lineTo(x, y);
        }
        painter.strokePath(trace, QPen(channelColours[channel], 2));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void drawBars(QPainter &painter)
{
    drawPanel(painter, bars);
    const int full = bars.height() - 8;
    for (int channel = 0; channel < 6; ++channel) {
        const int level = full * barLevels[channel] / 100;
        painter.fillRect(bars.left() + 3 + channel * 10, bars.bottom() - 3 - level, 8, level, channelColours[channel]);
    }
}

bool writeJpeg(const QImage &picture, const char *path)
{
    std::FILE *file = std::fopen(path, "wb");
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors); // a tool may end on an error
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(picture.width());
    info.image_height = JDIMENSION(picture.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // No chroma subsampling: the narrow bars keep their colours.
    for (int c = 0; c < 3; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto *row = const_cast<JSAMPROW>(picture.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    QImage picture(width, height, QImage::Format_RGB888);
    picture.fill(QColor(192, 192, 192)); // the chart's silver
    QPainter painter(&picture);
    drawTraces(painter);
    drawBars(painter);
    painter.end();
    if (!writeJpeg(picture, argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
