#include "JpegFile.h"

#include "Bitmap.h"
#include "Exception.h"
#include "LoadedLibrary.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <jpeglib.h>

namespace {

// The libjpeg functions the writer calls, found in the library when the first JPEG is written.
struct TJpeg {
    decltype(&jpeg_std_error) StdError;
    decltype(&jpeg_CreateCompress) CreateCompress;
    decltype(&jpeg_mem_dest) MemDest;
    decltype(&jpeg_set_defaults) SetDefaults;
    decltype(&jpeg_set_quality) SetQuality;
    decltype(&jpeg_start_compress) StartCompress;
    decltype(&jpeg_write_scanlines) WriteScanlines;
    decltype(&jpeg_finish_compress) FinishCompress;
    decltype(&jpeg_destroy_compress) DestroyCompress;
};

const TJpeg& Jpeg() {
    static const TJpeg jpeg = [] {
        const TLoadedLibrary library("libjpeg.so.62", "Cannot write JPEG");
        TJpeg j{};
        library.Find(j.StdError, "jpeg_std_error");
        library.Find(j.CreateCompress, "jpeg_CreateCompress");
        library.Find(j.MemDest, "jpeg_mem_dest");
        library.Find(j.SetDefaults, "jpeg_set_defaults");
        library.Find(j.SetQuality, "jpeg_set_quality");
        library.Find(j.StartCompress, "jpeg_start_compress");
        library.Find(j.WriteScanlines, "jpeg_write_scanlines");
        library.Find(j.FinishCompress, "jpeg_finish_compress");
        library.Find(j.DestroyCompress, "jpeg_destroy_compress");
        return j;
    }();
    return jpeg;
}

// libjpeg's errors end the encoding by longjmp instead of ending the process; the message is
// kept for the caller.
struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void Fail(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->Message);
    std::longjmp(errors->Jump, 1);
}

void RgbRow(const std::uint32_t* pixels, std::size_t count, JSAMPLE* row) {
    for (std::size_t x = 0; x < count; ++x) {
        row[3 * x] = static_cast<JSAMPLE>(pixels[x] >> 16);
        row[3 * x + 1] = static_cast<JSAMPLE>(pixels[x] >> 8);
        row[3 * x + 2] = static_cast<JSAMPLE>(pixels[x]);
    }
}

// Everything libjpeg may leave by longjmp runs here, over plain data only.
bool Encode(const TJpeg& jpeg, jpeg_compress_struct& cinfo, ErrorManager& errors,
            const TBitmap& image, int scale, int dpi, unsigned char** buffer, unsigned long* size,
            std::uint32_t* widened, JSAMPLE* row) {
    if (setjmp(errors.Jump) != 0) {
        return false;
    }
    jpeg.CreateCompress(&cinfo, JPEG_LIB_VERSION, sizeof cinfo);
    jpeg.MemDest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(image.Width() * scale);
    cinfo.image_height = static_cast<JDIMENSION>(image.Height() * scale);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg.SetDefaults(&cinfo);
    jpeg.SetQuality(&cinfo, 100, TRUE);
    // Every component at full resolution: no chroma subsampling.
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    cinfo.optimize_coding = TRUE;
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = 1; // dots per inch
    cinfo.X_density = static_cast<UINT16>(dpi);
    cinfo.Y_density = static_cast<UINT16>(dpi);
    jpeg.StartCompress(&cinfo, TRUE);
    for (int y = 0; y < image.Height(); ++y) {
        RgbRow(image.WidenedRow(y, scale, widened), cinfo.image_width, row);
        for (int i = 0; i < scale; ++i) {
            jpeg.WriteScanlines(&cinfo, &row, 1);
        }
    }
    jpeg.FinishCompress(&cinfo);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodeJpeg(const TBitmap& image, int scale, int dpi) {
    const TJpeg& jpeg = Jpeg();
    const auto width = static_cast<std::size_t>(image.Width()) * scale;
    std::vector<std::uint32_t> widened(width);
    std::vector<JSAMPLE> row(width * 3);
    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg.StdError(&errors.Base);
    errors.Base.error_exit = Fail;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool encoded =
        Encode(jpeg, cinfo, errors, image, scale, dpi, &buffer, &size, widened.data(), row.data());
    jpeg.DestroyCompress(&cinfo);
    const std::unique_ptr<unsigned char, void (*)(void*)> owned(buffer, std::free);
    if (!encoded) {
        throw Exception(std::string("Cannot encode the image as JPEG: ") + errors.Message);
    }
    return {buffer, buffer + size};
}
