#include "data/script_vocabulary.h"

#include <algorithm>

namespace zk {
namespace {

// A lookup by name finds the first of two equal names; the tables must have none.
template <typename Names>
constexpr bool unique(const Names& names) {
    for (size_t i = 0; i < names.size(); ++i)
        for (size_t k = i + 1; k < names.size(); ++k)
            if (names[i] == names[k]) return false;
    return true;
}

constexpr std::array<std::string_view, kScriptVerbs.size()> kVerbNames = [] {
    std::array<std::string_view, kScriptVerbs.size()> names{};
    for (size_t i = 0; i < kScriptVerbs.size(); ++i) names[i] = kScriptVerbs[i].name;
    return names;
}();

static_assert(unique(kVerbNames));
static_assert(unique(kEventNames));
static_assert(std::none_of(kVerbNames.begin(), kVerbNames.end(),
                           [](std::string_view n) { return n.empty(); }),
              "an empty verb is a done command");

}  // namespace

std::optional<size_t> verbIndex(std::string_view name) {
    const auto* at = std::find(kVerbNames.begin(), kVerbNames.end(), name);
    if (name.empty() || at == kVerbNames.end()) return std::nullopt;
    return static_cast<size_t>(at - kVerbNames.begin());
}

bool knownEvent(std::string_view name) {
    return std::find(kEventNames.begin(), kEventNames.end(), name) != kEventNames.end();
}

}  // namespace zk
