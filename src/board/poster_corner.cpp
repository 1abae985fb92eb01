#include "board/poster_corner.h"

#include <gif_lib.h>
#include <png.h>
#include <webp/decode.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <memory>

namespace sirelo {
namespace {

// libpng refuses what it thinks absurd only above these; the whole image is
// never held, so they may be generous.
constexpr png_uint_32 kMaxPngSide = 1'000'000;
// One decoded row of the full width is held; refuse a wider one.
constexpr png_size_t kMaxRowBytes = 64u << 20;

PosterCorner NoCorner(CornerOutcome outcome) {
    PosterCorner corner;
    corner.outcome = outcome;
    return corner;
}

struct PngSource {
    const char* data;
    std::size_t size;
    std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->at) png_error(png, "truncated");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

// Silent: a broken poster just shows no image.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool interlaced = false;
    png_size_t rowBytes = 0;  // after the conversion to RGBA8
};

// The two steps below leave by longjmp on any error, so they hold no object
// with a destructor; the caller owns every buffer.
bool ReadPngHeader(png_structp png, png_infop info, PngHeader* header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    if (header->interlaced) return true;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != 4 || png_get_bit_depth(png, info) != 8) return false;
    header->rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool ReadPngRows(png_structp png, png_bytep row, int rows, png_size_t keptBytes, png_bytep out) {
    if (setjmp(png_jmpbuf(png))) return false;
    for (int y = 0; y < rows; ++y) {
        png_read_row(png, row, nullptr);
        std::memcpy(out + keptBytes * static_cast<png_size_t>(y), row, keptBytes);
    }
    return true;
}

PosterCorner DecodePngCorner(std::string_view file, int width, int height) {
    PosterCorner corner;
    corner.outcome = CornerOutcome::Broken;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png) return corner;
    png_infop info = png_create_info_struct(png);
    PngSource source{file.data(), file.size(), 0};
    PngHeader header;
    if (info) {
        png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
        png_set_read_fn(png, &source, ReadFromMemory);
        if (ReadPngHeader(png, info, &header)) {
            // Interlaced rows come in seven passes over the whole image, so
            // the corner is known only at the end: Qt's reader decodes those,
            // within its allocation limit.
            if (header.interlaced) {
                corner.outcome = CornerOutcome::LeftToReader;
            } else if (header.rowBytes <= kMaxRowBytes) {
                corner.width = static_cast<int>(std::min<png_uint_32>(header.width, width));
                corner.height = static_cast<int>(std::min<png_uint_32>(header.height, height));
                const png_size_t keptBytes = static_cast<png_size_t>(corner.width) * 4;
                std::vector<png_byte> row(header.rowBytes);
                corner.rgba.resize(keptBytes * static_cast<png_size_t>(corner.height));
                if (ReadPngRows(png, row.data(), corner.height, keptBytes, corner.rgba.data()))
                    corner.outcome = CornerOutcome::Decoded;
            }
        }
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (corner.outcome != CornerOutcome::Decoded) corner = NoCorner(corner.outcome);
    return corner;
}

bool IsWebP(std::string_view file) {
    return file.size() >= 12 && file.substr(0, 4) == "RIFF" && file.substr(8, 4) == "WEBP";
}

// Cropping stops a lossy image's decoding after the corner's last row, with
// buffers of one macroblock row; a lossless one reserves the whole image but
// fills only the rows above the corner's end.
PosterCorner DecodeWebPCorner(std::string_view file, int width, int height) {
    PosterCorner corner;
    corner.outcome = CornerOutcome::Broken;
    const auto* data = reinterpret_cast<const std::uint8_t*>(file.data());
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return corner;
    if (WebPGetFeatures(data, file.size(), &config.input) != VP8_STATUS_OK) return corner;
    if (config.input.has_animation) return NoCorner(CornerOutcome::LeftToReader);
    corner.width = std::min(config.input.width, width);
    corner.height = std::min(config.input.height, height);
    corner.rgba.resize(static_cast<std::size_t>(corner.width) * 4 * corner.height);
    config.options.use_cropping = 1;
    config.options.crop_width = corner.width;
    config.options.crop_height = corner.height;
    config.output.colorspace = MODE_RGBA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = corner.rgba.data();
    config.output.u.RGBA.stride = corner.width * 4;
    config.output.u.RGBA.size = corner.rgba.size();
    const bool decoded = WebPDecode(data, file.size(), &config) == VP8_STATUS_OK;
    WebPFreeDecBuffer(&config.output);
    if (!decoded) return NoCorner(CornerOutcome::Broken);
    corner.outcome = CornerOutcome::Decoded;
    return corner;
}

bool IsGif(std::string_view file) {
    return file.substr(0, 6) == GIF87_STAMP || file.substr(0, 6) == GIF89_STAMP;
}

struct GifSource {
    std::string_view file;
    std::size_t at;
};

int ReadGif(GifFileType* gif, GifByteType* out, int length) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t count =
        std::min<std::size_t>(std::max(length, 0), source->file.size() - source->at);
    std::memcpy(out, source->file.data() + source->at, count);
    source->at += count;
    return static_cast<int>(count);
}

struct CloseGif {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Reads the records up to the first frame's description, keeping the
// transparent colour its control block names.
bool ReachFirstFrame(GifFileType* gif, int* transparent) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK) return false;
        if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
        if (type != EXTENSION_RECORD_TYPE) return false;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
        GraphicsControlBlock control;
        if (code == GRAPHICS_EXT_FUNC_CODE && block &&
            DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            *transparent = control.TransparentColor;
        while (block) {
            if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
        }
    }
}

// Reads the first frame's rows down to the corner's end, one row at a time;
// outside the frame the corner stays transparent.
PosterCorner DecodeGifCorner(std::string_view file, int width, int height) {
    GifSource source{file, 0};
    int error = 0;
    const std::unique_ptr<GifFileType, CloseGif> gif(DGifOpen(&source, ReadGif, &error));
    int transparent = NO_TRANSPARENT_COLOR;
    if (!gif || !ReachFirstFrame(gif.get(), &transparent)) return NoCorner(CornerOutcome::Broken);
    const GifImageDesc& frame = gif->Image;
    // Interlaced rows come in four passes over the whole frame, so the corner
    // is known only near the end: Qt's reader decodes those, within its
    // allocation limit.
    if (frame.Interlace) return NoCorner(CornerOutcome::LeftToReader);
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    PosterCorner corner;
    corner.width = std::min(gif->SWidth, width);
    corner.height = std::min(gif->SHeight, height);
    if (!colours || corner.width <= 0 || corner.height <= 0 || frame.Width <= 0)
        return NoCorner(CornerOutcome::Broken);
    corner.rgba.assign(static_cast<std::size_t>(corner.width) * 4 * corner.height, 0);
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    const int rows = std::min(frame.Height, corner.height - frame.Top);
    const int right = std::min(frame.Left + frame.Width, corner.width);
    for (int row = 0; row < rows; ++row) {
        if (DGifGetLine(gif.get(), line.data(), frame.Width) != GIF_OK)
            return NoCorner(CornerOutcome::Broken);
        std::uint8_t* out =
            &corner.rgba[static_cast<std::size_t>(frame.Top + row) * corner.width * 4];
        for (int x = frame.Left; x < right; ++x) {
            const int index = line[static_cast<std::size_t>(x - frame.Left)];
            if (index == transparent || index >= colours->ColorCount) continue;
            const GifColorType& colour = colours->Colors[index];
            std::uint8_t* pixel = out + static_cast<std::size_t>(x) * 4;
            pixel[0] = colour.Red;
            pixel[1] = colour.Green;
            pixel[2] = colour.Blue;
            pixel[3] = 0xff;
        }
    }
    corner.outcome = CornerOutcome::Decoded;
    return corner;
}

}  // namespace

PosterCorner DecodePosterCorner(std::string_view file, int width, int height) {
    if (width <= 0 || height <= 0) return NoCorner(CornerOutcome::Broken);
    const auto* data = reinterpret_cast<png_const_bytep>(file.data());
    if (file.size() >= 8 && png_sig_cmp(data, 0, 8) == 0)
        return DecodePngCorner(file, width, height);
    if (IsWebP(file)) return DecodeWebPCorner(file, width, height);
    if (IsGif(file)) return DecodeGifCorner(file, width, height);
    return {};
}

}  // namespace sirelo
