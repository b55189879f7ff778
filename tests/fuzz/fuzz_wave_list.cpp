// Reads arbitrary bytes as a wave list. A list that loads must write and read back
// to the same bytes.
#include <cstddef>
#include <cstdint>

#include "assets/wave_list.h"
#include "core/error.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zk;
    WaveList list;
    MemoryStream s(std::vector<uint8_t>(data, data + size));
    try {
        list.loadFromStream(s);
    } catch (const DataError&) {
        return 0;
    }
    for (const auto& item : list.items) FUZZ_CHECK(item.maxPlayingCount >= 0);
    auto written = writeWaveList(list);
    WaveList back = readWaveList(written);  // must not throw
    FUZZ_CHECK(back.count() == list.count());
    for (int i = 0; i < back.count(); ++i) {
        FUZZ_CHECK(back.item(i).wave.format == list.item(i).wave.format);
        FUZZ_CHECK(back.item(i).wave.samples == list.item(i).wave.samples);
    }
    FUZZ_CHECK(writeWaveList(back) == written);
    return 0;
}
