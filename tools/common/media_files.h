#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assets/image.h"
#include "assets/picture.h"
#include "assets/wave_list.h"

namespace zk::tools {

std::optional<std::vector<uint8_t>> readFileBytes(const std::filesystem::path& path);
// Throws DataError naming the file when it cannot be written.
void writeFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// An image file decoded to 0xRRGGBB pixels, with the alpha of each pixel (all 255 for
// images without an alpha channel).
struct LoadedImage {
    Image image;
    std::vector<uint8_t> alpha;
    bool anyTransparent() const;
};
// PNG, BMP, JPEG and the other formats SDL_image reads. On failure `error` says why.
std::optional<LoadedImage> loadImageFile(const std::filesystem::path& path, std::string& error);

// Writes an image as a PNG file, with an alpha channel when `alpha` is given (one value
// per pixel). Throws DataError when the file cannot be written.
void writePngFile(const std::filesystem::path& path, const Image& image,
                  const std::vector<uint8_t>* alpha = nullptr);

// Stored pictures made from files as they are, so that pictures written by the
// inspector come back unchanged. `kind` is the stored kind name: "TDIB" keeps the
// bitmap without its file header, "TBitmap" (and the other kinds stored as BMP) the
// whole file, "TJPEGImage" a JPEG file. Nothing when the engine could not read it.
std::optional<Picture> pictureFromFile(std::string_view kind, std::span<const uint8_t> file);
// The file that holds a stored picture as it is: a BMP file for "TDIB" and the kinds
// stored as BMP, a JPEG file for "TJPEGImage"; its extension in `ext` (".bmp", ".jpg").
// Nothing for an empty picture.
std::optional<std::vector<uint8_t>> pictureFile(const Picture& picture, std::string& ext);

// RIFF WAVE files as sound editors write them (chunks padded to even lengths).
// Throws DataError with the reason.
Wave readWavFile(std::span<const uint8_t> bytes);

// The wave as 16-bit PCM, for integer samples of odd sizes (12-bit, 20-bit, 64-bit)
// and 64-bit floats that the sound device refuses; empty for compressed encodings
// (ADPCM, GSM, MP3), which need a real decoder.
std::optional<Wave> pcm16Wave(const Wave& wave);
// A standard WAVE file (chunks padded to even lengths).
std::vector<uint8_t> wavFile(const Wave& wave);
// "PCM 22050 Hz 16-bit mono, 1.52 s" and the like.
std::string describeWave(const Wave& wave);

}  // namespace zk::tools
