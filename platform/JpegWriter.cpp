#include "platform/JpegWriter.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return;
// jump back to the writer instead of ending the program.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::longjmp(error->jump, 1);
}

// Codes the image into an open file; false on any libjpeg error.
bool Encode(const QImage& rgb, std::FILE* file, int quality) {
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool WriteJpeg(const QImage& image, const std::string& path, int quality) {
    if (image.isNull() || path.empty()) return false;
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::string tmp = path + ".XXXXXX";
    int fd = mkstemp(tmp.data());
    if (fd < 0) return false;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        std::remove(tmp.c_str());
        return false;
    }
    bool ok = Encode(rgb, file, quality);
    if (std::fflush(file) != 0 || std::ferror(file)) ok = false;
    if (std::fclose(file) != 0) ok = false;
    if (ok) {
        ::chmod(tmp.c_str(), 0644);
        ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    }
    if (!ok) std::remove(tmp.c_str());
    return ok;
}
