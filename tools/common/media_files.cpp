#include "media_files.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "assets/dib.h"
#include "assets/jpeg.h"
#include "core/bytes.h"
#include "core/error.h"

namespace zk::tools {

std::optional<std::vector<uint8_t>> readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> out((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return out;
}

void writeFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw DataError("Cannot write '" + path.string() + "'");
}

bool LoadedImage::anyTransparent() const {
    for (uint8_t a : alpha)
        if (a < 128) return true;
    return false;
}

std::optional<LoadedImage> loadImageFile(const std::filesystem::path& path, std::string& error) {
    // JPEG files are decoded as the engine decodes them, so a picture looks the same
    // packed as stored (SDL_image takes the inks of CMYK files for colours).
    if (auto bytes = readFileBytes(path);
        bytes && bytes->size() >= 3 && (*bytes)[0] == 0xFF && (*bytes)[1] == 0xD8) {
        try {
            LoadedImage out;
            out.image = decodeJpeg(*bytes);
            out.alpha.assign(out.image.pixels.size(), 255);
            return out;
        } catch (const DataError& e) {
            error = e.what();
            return std::nullopt;
        }
    }
    struct SurfaceFree {
        void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
    };
    std::unique_ptr<SDL_Surface, SurfaceFree> raw(IMG_Load(path.string().c_str()));
    if (!raw) {
        error = IMG_GetError();
        return std::nullopt;
    }
    std::unique_ptr<SDL_Surface, SurfaceFree> s(
        SDL_ConvertSurfaceFormat(raw.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!s) {
        error = SDL_GetError();
        return std::nullopt;
    }
    if (s->w > kMaxImageSide || s->h > kMaxImageSide) {
        error = "larger than " + std::to_string(kMaxImageSide) + " pixels";
        return std::nullopt;
    }
    LoadedImage out;
    out.image.width = s->w;
    out.image.height = s->h;
    const size_t n = size_t(s->w) * size_t(s->h);
    out.image.pixels.resize(n);
    out.alpha.resize(n);
    const bool hasAlpha = SDL_ISPIXELFORMAT_ALPHA(raw->format->format) || raw->format->palette ||
                          SDL_GetColorKey(raw.get(), nullptr) == 0;
    for (int y = 0; y < s->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                            size_t(y) * size_t(s->pitch));
        for (int x = 0; x < s->w; ++x) {
            size_t i = size_t(y) * size_t(s->w) + size_t(x);
            out.image.pixels[i] = row[x] & 0xFFFFFF;
            out.alpha[i] = hasAlpha ? static_cast<uint8_t>(row[x] >> 24) : 255;
        }
    }
    return out;
}

void writePngFile(const std::filesystem::path& path, const Image& image,
                  const std::vector<uint8_t>* alpha) {
    if (alpha && alpha->size() != image.pixels.size())
        throw DataError("Cannot write '" + path.string() +
                        "': one alpha value per pixel is needed");
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) throw DataError("Cannot write '" + path.string() + "': " + SDL_GetError());
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) +
                                                size_t(y) * size_t(s->pitch));
        for (int x = 0; x < image.width; ++x) {
            size_t i = size_t(y) * size_t(image.width) + size_t(x);
            uint32_t a = alpha ? (*alpha)[i] : 255;
            row[x] = (a << 24) | (image.pixels[i] & 0xFFFFFF);
        }
    }
    const int rc = IMG_SavePNG(s, path.string().c_str());
    SDL_FreeSurface(s);
    if (rc != 0) throw DataError("Cannot write '" + path.string() + "': " + IMG_GetError());
}

namespace {

constexpr std::string_view kImportKinds[] = {
    "TBitmap",     "TPNGGraphic", "TTargaGraphic",    "TTIFFGraphic", "TPCXGraphic",
    "TPCDGraphic", "TPPMGraphic", "TCUTGraphic",      "TRLAGraphic",  "TPSDGraphic",
    "TPSPGraphic", "TSGIGraphic", "TAutodeskGraphic", "TEPSGraphic"};

bool storedAsBmp(std::string_view kind) {
    for (std::string_view k : kImportKinds)
        if (k == kind) return true;
    return false;
}

std::vector<uint8_t> payloadOf(std::string_view kind, std::span<const uint8_t> data,
                               bool lengthPrefix) {
    const size_t head = 1 + kind.size() + (lengthPrefix ? 4 : 0);
    std::vector<uint8_t> out(head + data.size());
    out[0] = static_cast<uint8_t>(kind.size());
    for (size_t i = 0; i < kind.size(); ++i) out[1 + i] = static_cast<uint8_t>(kind[i]);
    if (lengthPrefix) putI32(out, 1 + kind.size(), static_cast<int32_t>(data.size()));
    for (size_t i = 0; i < data.size(); ++i) out[head + i] = data[i];
    return out;
}

}  // namespace

std::optional<Picture> pictureFromFile(std::string_view kind, std::span<const uint8_t> file) {
    std::vector<uint8_t> payload;
    if (kind == "TDIB") {
        if (file.size() < 14 + 4 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
        payload = payloadOf(kind, file.subspan(14), false);
    } else if (storedAsBmp(kind) || kind == "TJPEGImage") {
        payload = payloadOf(kind, file, true);
    } else {
        return std::nullopt;
    }
    try {
        Picture p = decodePicture(std::move(payload));
        if (!p.hasPicture() || p.image.empty()) return std::nullopt;
        // A stored DIB has its pixels right after its colour table; a file whose header
        // puts them elsewhere (a gap before the pixels) cannot be stored so.
        if (kind == "TDIB" && decodeBmp(file).pixels != p.image.pixels) return std::nullopt;
        return p;
    } catch (const DataError&) {
        return std::nullopt;
    }
}

std::optional<std::vector<uint8_t>> pictureFile(const Picture& picture, std::string& ext) {
    if (!picture.hasPicture() || picture.payload.empty()) return std::nullopt;
    const size_t skip = 1u + picture.payload[0];
    if (skip > picture.payload.size()) return std::nullopt;
    std::span<const uint8_t> data = std::span(picture.payload).subspan(skip);
    if (picture.kind == "TDIB") {
        if (data.empty()) return std::nullopt;
        ext = ".bmp";
        try {
            return bmpFile(data);
        } catch (const DataError&) {
            return std::nullopt;
        }
    }
    if (data.size() < 4) return std::nullopt;
    int32_t n = getI32(data, 0);
    if (n <= 0 || size_t(n) > data.size() - 4) return std::nullopt;
    ext = picture.kind == "TJPEGImage" ? ".jpg" : ".bmp";
    return std::vector<uint8_t>(data.begin() + 4, data.begin() + 4 + n);
}

Wave readWavFile(std::span<const uint8_t> b) {
    if (b.size() < 12 || std::string_view(reinterpret_cast<const char*>(b.data()), 4) != "RIFF" ||
        std::string_view(reinterpret_cast<const char*>(b.data() + 8), 4) != "WAVE")
        throw DataError("not a RIFF WAVE file");
    Wave w;
    bool fmt = false, data = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        std::string_view id(reinterpret_cast<const char*>(b.data() + at), 4);
        size_t len = getU32(b, at + 4);
        at += 8;
        if (len > b.size() - at) {
            // Editors sometimes leave a data chunk length that runs past the file.
            if (id != "data") throw DataError("chunk '" + std::string(id) + "' runs past the end");
            len = b.size() - at;
        }
        if (id == "fmt ") {
            w.format.assign(b.begin() + at, b.begin() + at + len);
            fmt = true;
        } else if (id == "data") {
            w.samples.assign(b.begin() + at, b.begin() + at + len);
            data = true;
        }
        at += len + (len & 1);
    }
    if (!fmt) throw DataError("no \"fmt \" chunk");
    if (!data) throw DataError("no \"data\" chunk");
    if (w.format.size() < 16) throw DataError("the \"fmt \" chunk is too short");
    return w;
}

std::vector<uint8_t> wavFile(const Wave& wave) {
    std::vector<uint8_t> out(12);
    auto chunk = [&out](std::string_view id, const std::vector<uint8_t>& bytes) {
        size_t at = out.size();
        out.resize(at + 8);
        std::copy(id.begin(), id.end(), out.begin() + at);
        putU32(out, at + 4, static_cast<uint32_t>(bytes.size()));
        out.insert(out.end(), bytes.begin(), bytes.end());
        if (bytes.size() & 1) out.push_back(0);
    };
    std::copy_n("RIFFxxxxWAVE", 12, out.begin());
    chunk("fmt ", wave.format);
    chunk("data", wave.samples);
    putU32(out, 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

std::string describeWave(const Wave& wave) {
    if (wave.format.size() < 16)
        return "no format, " + std::to_string(wave.samples.size()) + " bytes";
    const int tag = getU16(wave.format, 0);
    const int channels = getU16(wave.format, 2);
    const uint32_t rate = getU32(wave.format, 4);
    const uint32_t bytesPerSecond = getU32(wave.format, 8);
    const int bits = getU16(wave.format, 14);
    std::string kind = tag == 1 ? "PCM" : "format " + std::to_string(tag);
    std::string out = kind + " " + std::to_string(rate) + " Hz " + std::to_string(bits) + "-bit " +
                      (channels == 1   ? std::string("mono")
                       : channels == 2 ? std::string("stereo")
                                       : std::to_string(channels) + " channels");
    if (bytesPerSecond > 0) {
        char buf[32];
        std::snprintf(buf, sizeof buf, ", %.2f s", double(wave.samples.size()) / bytesPerSecond);
        out += buf;
    }
    return out;
}

}  // namespace zk::tools
