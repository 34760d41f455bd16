#include "runtime/JpegDecoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <jpeglib.h>

namespace {

// libjpeg's default error handler prints and calls exit(); ours jumps back into decode()
// instead. The jump only crosses libjpeg's C frames and the callbacks below, none of
// which own anything that needs destroying.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf failed;
};

[[noreturn]] void fail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->failed, 1);
}

// Level -1 is a warning about corrupt data (a premature end, a bad entropy segment):
// libjpeg would go on and fill the rest with grey, but a half picture is no picture.
// Trace messages (level 0 and up) are not wanted either.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0)
        fail(info);
}

void ignoreMessage(j_common_ptr) {}

void limitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > JpegDecoder::maxScans)
        fail(info);
}

// Layout of one QImage::Format_RGB32 pixel in memory.
constexpr J_COLOR_SPACE rgb32Layout = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Everything between setjmp and a failure happens here, on objects that outlive this
// frame, so that no local of the function that called setjmp is left indeterminate.
bool decodeInto(jpeg_decompress_struct &info, ErrorManager &errors, jpeg_progress_mgr &progress, QByteArrayView jpeg,
                QImage &image)
{
    if (setjmp(errors.failed))
        return false;
    jpeg_create_decompress(&info); // clears every field but the error manager
    info.progress = &progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    if (qint64(info.image_width) * info.image_height > JpegDecoder::maxPixels)
        return false;
    info.out_color_space = rgb32Layout;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull()) // out of memory
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage JpegDecoder::decode(QByteArrayView jpeg)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = fail;
    errors.base.emit_message = onMessage;
    errors.base.output_message = ignoreMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = limitScans;

    QImage image;
    const bool decoded = decodeInto(info, errors, progress, jpeg, image);
    jpeg_destroy_decompress(&info); // also after a failure, whatever state it left
    return decoded ? image : QImage();
}
