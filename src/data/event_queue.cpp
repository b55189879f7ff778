#include "data/event_queue.h"

#include <algorithm>

namespace zk {

int EventQueue::enqueue(std::span<const uint8_t> event) {
    for (int i = 0; i < kQueueSlots; ++i) {
        if (inUse(i)) continue;
        EventRecord& s = slot(i);
        s.assign(event);
        s.setOriginRoom("");
        return i;
    }
    if (onOverflow) onOverflow();
    return -1;
}

void EventQueue::insertCommand(int slotIndex, std::span<const uint8_t> command, int position) {
    if (position < 0 || position >= kCommandsPerEvent) return;
    EventRecord& s = slot(slotIndex);
    for (int k = kCommandsPerEvent - 1; k > position; --k) {
        auto from = s.command(k - 1).bytes();
        std::copy(from.begin(), from.end(), s.command(k).bytes().begin());
    }
    auto to = s.command(position).bytes();
    std::copy(command.begin(), command.begin() + static_cast<std::ptrdiff_t>(kCommandSize),
              to.begin());
}

void EventQueue::skipNext(int slotIndex, int position) {
    EventRecord& s = slot(slotIndex);
    int k = position + 1;
    if (k >= kCommandsPerEvent) return;
    if (s.command(k).verb() != "begin") {
        s.command(k).setVerb("");
        return;
    }
    int depth = 0;
    for (; k < kCommandsPerEvent; ++k) {
        std::string verb = s.command(k).verb();
        s.command(k).setVerb("");
        if (verb == "begin") ++depth;
        if (verb == "end" && --depth == 0) return;
    }
}

void EventQueue::clear() {
    for (auto& s : slots_) s.clearName();
}

bool EventQueue::isRunning(std::string_view name, int source) const {
    for (const auto& s : slots_)
        if (!s.isEmpty() && s.name() == name && s.sourceIndex() == source) return true;
    return false;
}

bool EventQueue::isRunningWithParam(std::string_view name, std::string_view param1) const {
    for (const auto& s : slots_)
        if (!s.isEmpty() && s.name() == name && s.param1() == param1) return true;
    return false;
}

void EventQueue::freeFinished() {
    for (auto& s : slots_) {
        if (s.isEmpty()) continue;
        bool allEmpty = true;
        for (int k = 0; k < kCommandsPerEvent && allEmpty; ++k)
            if (!s.command(k).verb().empty()) allEmpty = false;
        if (allEmpty) s.clearName();
    }
}

}  // namespace zk
