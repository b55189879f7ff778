#include "assets/picture_list.h"

#include <algorithm>
#include <string>
#include <utility>

#include "assets/color.h"
#include "assets/component_stream.h"
#include "core/error.h"

namespace zk {
namespace {

// Patterns are kept as a table; a cell sheet larger than this is refused (the item
// gets no patterns) rather than allocating gigabytes for one-pixel cells.
constexpr int64_t kMaxPatterns = int64_t{1} << 20;

// donor, if not null, is an item of the list's previous contents whose buffers the
// new picture may take over.
void readItem(ComponentReader& r, PictureItem& item, PictureItem* donor) {
    for (std::string name = r.readName(); !name.empty(); name = r.readName()) {
        if (name == "Name")
            item.name = r.readString();
        else if (name == "PatternHeight")
            item.patternHeight = r.readInteger();
        else if (name == "PatternWidth")
            item.patternWidth = r.readInteger();
        else if (name == "Picture.Data")
            item.picture = donor ? decodePicture(r.readBinary(std::move(donor->picture.payload)),
                                                 std::move(donor->picture.image.pixels))
                                 : decodePicture(r.readBinary());
        else if (name == "SkipHeight")
            item.skipHeight = r.readInteger();
        else if (name == "SkipWidth")
            item.skipWidth = r.readInteger();
        else if (name == "SystemMemory")
            item.systemMemory = r.readBoolean();
        else if (name == "Transparent")
            item.transparent = r.readBoolean();
        else if (name == "TransparentColor")
            item.transparentColor = r.readColor();
        else
            ComponentReader::unknownProperty(name);
    }
}

void writeItem(ComponentWriter& w, const PictureItem& item) {
    w.beginEntry();
    if (!item.name.empty()) {
        w.name("Name");
        w.string(item.name);
    }
    w.name("PatternHeight");
    w.integer(item.patternHeight);
    w.name("PatternWidth");
    w.integer(item.patternWidth);
    if (item.picture.hasPicture()) {
        w.name("Picture.Data");
        w.binary(item.picture.payload);
    }
    if (item.skipHeight != 0) {
        w.name("SkipHeight");
        w.integer(item.skipHeight);
    }
    if (item.skipWidth != 0) {
        w.name("SkipWidth");
        w.integer(item.skipWidth);
    }
    w.name("SystemMemory");
    w.boolean(item.systemMemory);
    w.name("Transparent");
    w.boolean(item.transparent);
    w.name("TransparentColor");
    w.color(item.transparentColor);
    w.end();
}

}  // namespace

int PictureItem::width() const {
    return patternWidth > 0 ? patternWidth : picture.image.width;
}
int PictureItem::height() const {
    return patternHeight > 0 ? patternHeight : picture.image.height;
}

void PictureItem::prepare() {
    patterns_.clear();
    colorKey_ = colorToRgb(transparentColor);
    const Image& img = picture.image;
    if (img.empty()) return;
    const int w = width(), h = height();
    if (w == img.width && h == img.height) {
        patterns_.push_back({0, 0, w, h});
        return;
    }
    // 64-bit: the skips are arbitrary stored values.
    const int64_t colStride = int64_t{w} + skipWidth;
    const int64_t rowStride = int64_t{h} + skipHeight;
    if (colStride <= 0 || rowStride <= 0) return;
    const int64_t cols = (int64_t{img.width} + skipWidth) / colStride;
    const int64_t rows = (int64_t{img.height} + skipHeight) / rowStride;
    if (cols <= 0 || rows <= 0 || cols * rows > kMaxPatterns) return;
    patterns_.reserve(static_cast<size_t>(cols * rows));
    for (int64_t r = 0; r < rows; ++r)
        for (int64_t c = 0; c < cols; ++c)
            patterns_.push_back(
                {static_cast<int>(c * colStride), static_cast<int>(r * rowStride), w, h});
}

void PictureItem::setTransparentColor(uint32_t color) {
    transparentColor = color;
    colorKey_ = colorToRgb(color);
}

PictureItem& PictureList::item(int index) {
    return const_cast<PictureItem&>(std::as_const(*this).item(index));
}

const PictureItem& PictureList::item(int index) const {
    if (index < 0 || index >= count())
        throw DataError("List index out of bounds (" + std::to_string(index) + ")");
    return items[static_cast<size_t>(index)];
}

void PictureList::clear() {
    items.clear();
    colorTable.fill(0);
}

void PictureList::prepare() {
    for (auto& it : items) it.prepare();
}

void PictureList::loadFromStream(MemoryStream& s) {
    // The old items lend their buffers to the new ones: lists are reloaded on every
    // room entry, and reusing memory saves faulting in megabytes of fresh pages.
    std::vector<PictureItem> old = std::move(items);
    clear();
    readComponent(s, [this, &old](ComponentReader& r, const std::string& name) {
        if (name == "List.ColorTable") {
            auto table = r.readBinary();
            if (table.size() < colorTable.size()) throw DataError("Stream read error");
            std::copy_n(table.begin(), colorTable.size(), colorTable.begin());
        } else if (name == "List") {
            r.readCollection();
            items.clear();
            while (r.readEntry()) {
                PictureItem& it = items.emplace_back();
                readItem(r, it, items.size() <= old.size() ? &old[items.size() - 1] : nullptr);
            }
        } else {
            return false;
        }
        return true;
    });
    prepare();
}

void PictureList::saveToStream(MemoryStream& s) const {
    ComponentWriter w(s, "VantrelPictureCollection", "TPictureCollectionComponent");
    w.name("List.ColorTable");
    w.binary(colorTable);
    w.name("List");
    w.beginCollection();
    for (const auto& it : items) writeItem(w, it);
    w.end();
    w.finish();
}

PictureList readPictureList(std::vector<uint8_t> bytes) {
    MemoryStream s(std::move(bytes));
    PictureList list;
    list.loadFromStream(s);
    return list;
}

std::vector<uint8_t> writePictureList(const PictureList& list) {
    MemoryStream s;
    list.saveToStream(s);
    return std::move(s.data());
}

}  // namespace zk
