#include "assets/jpeg.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "core/error.h"

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace zk {
namespace {

static_assert(std::endian::native == std::endian::little,
              "pixels are read and written as B, G, R, X bytes");

// A progressive file can hold any number of scans, each a pass over the whole
// image; real pictures use about ten, so a few hundred bounds the work per file.
constexpr int kMaxScans = 500;

// libjpeg reports fatal errors through error_exit, which must not return; we jump
// back to the call that started the work, which then throws.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}
void onMessage(j_common_ptr) {}  // warnings (such as a premature end) are not shown

void onProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) ERREXIT(cinfo, JERR_NOT_COMPILED);
}

DataError jpegError(int code) {
    return DataError("JPEG error #" + std::to_string(code));
}

void setErrorManager(jpeg_common_struct* c, ErrorManager& err) {
    c->err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.output_message = onMessage;
}

// Runs work with err's jump target set; false if libjpeg gave up. The work keeps its
// state in the caller's frame and holds nothing that needs a destructor, so the jump
// skips only libjpeg's own frames.
template <class Work>
bool guarded(ErrorManager& err, Work&& work) {
    if (setjmp(err.jump)) return false;
    work();
    return true;
}

// Ink coverage to RGB without a colour profile, as other decoders do: each ink takes
// its share of the light that black leaves. Adobe's files (every CMYK JPEG that
// Photoshop and ImageMagick write) store the inks inverted, 255 meaning none.
uint32_t cmykPixel(const uint8_t* cmyk, bool inverted) {
    auto light = [&](int i) { return inverted ? cmyk[i] : 255 - cmyk[i]; };
    const int k = light(3);
    auto channel = [&](int i) { return static_cast<uint32_t>((light(i) * k + 127) / 255); };
    return (channel(0) << 16) | (channel(1) << 8) | channel(2);
}

}  // namespace

Image decodeJpeg(std::span<const uint8_t> jpeg, std::vector<uint32_t> storage) {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    Image img;
    bool cmyk = false;
    setErrorManager(reinterpret_cast<jpeg_common_struct*>(&cinfo), err);
    bool ok = guarded(err, [&] {
        jpeg_create_decompress(&cinfo);
        progress.progress_monitor = onProgress;
        cinfo.progress = &progress;
        jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&cinfo, TRUE);
        if (cinfo.image_width > kMaxImageSide || cinfo.image_height > kMaxImageSide)
            ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, kMaxImageSide);
        // Four-colour files (CMYK, and YCCK, which libjpeg turns into CMYK) are read
        // as inks and converted here; libjpeg has no conversion of its own to RGB.
        cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
        cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
        jpeg_start_decompress(&cinfo);
        img.width = static_cast<int>(cinfo.output_width);
        img.height = static_cast<int>(cinfo.output_height);
        img.pixels = reusePixels(std::move(storage),
                                 static_cast<size_t>(img.width) * static_cast<size_t>(img.height));
        while (cinfo.output_scanline < cinfo.output_height) {
            // Both kinds have four bytes per pixel, so a row of inks is read in place.
            uint32_t* pixels = img.pixels.data() + static_cast<size_t>(cinfo.output_scanline) *
                                                       static_cast<size_t>(img.width);
            auto* row = reinterpret_cast<JSAMPROW>(pixels);
            jpeg_read_scanlines(&cinfo, &row, 1);
            if (!cmyk) continue;
            const bool inverted = cinfo.saw_Adobe_marker;
            for (int x = 0; x < img.width; ++x)
                pixels[x] = cmykPixel(reinterpret_cast<const uint8_t*>(pixels + x), inverted);
        }
        jpeg_finish_decompress(&cinfo);
    });
    const int64_t width = cinfo.image_width, height = cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    if (!ok && err.pub.msg_code == JERR_IMAGE_TOO_BIG)
        throw oversizedImage(jpegError(JERR_IMAGE_TOO_BIG).what(), width, height);
    if (!ok) throw jpegError(err.pub.msg_code);
    for (auto& p : img.pixels) p &= 0xFFFFFF;
    return img;
}

std::vector<uint8_t> encodeJpeg(const Image& image, int quality) {
    if (image.empty()) throw std::invalid_argument("encodeJpeg: empty image");
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    setErrorManager(reinterpret_cast<jpeg_common_struct*>(&cinfo), err);
    bool ok = guarded(err, [&] {
        jpeg_create_compress(&cinfo);
        jpeg_mem_dest(&cinfo, &buffer, &size);
        cinfo.image_width = static_cast<JDIMENSION>(image.width);
        cinfo.image_height = static_cast<JDIMENSION>(image.height);
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_EXT_BGRX;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            // libjpeg takes non-const rows but only reads them.
            auto* row = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(
                image.pixels.data() +
                static_cast<size_t>(cinfo.next_scanline) * static_cast<size_t>(image.width)));
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
    });
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out;
    if (ok) out.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok) throw jpegError(err.pub.msg_code);
    return out;
}

}  // namespace zk
