#include "platform/JpegWriter.h"

#include "model/SafeFile.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <memory>
#include <vector>

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

// Codes the image into a memory buffer; false on any libjpeg error.
bool Encode(const QImage& rgb, int quality, std::vector<unsigned char>& out) {
    jpeg_compress_struct info{};
    JpegError error{};
    // libjpeg's buffer lives on the heap: a local changed after setjmp would
    // be undefined after the jump back.
    struct MemoryDest {
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        ~MemoryDest() { std::free(buffer); }
    };
    const auto dest = std::make_unique<MemoryDest>();
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &dest->buffer, &dest->size);
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
    out.assign(dest->buffer, dest->buffer + dest->size);
    return true;
}

}  // namespace

bool WriteJpeg(const QImage& image, const std::string& path, int quality) {
    if (image.isNull() || path.empty()) return false;
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> bytes;
    // The one replacing writer: a temporary beside the target, renamed over it.
    return Encode(rgb, quality, bytes) && WriteFileReplacing(path, bytes.data(), bytes.size());
}
