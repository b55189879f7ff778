#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "data/object_record.h"

namespace zk {

inline constexpr int kQueueSlots = 20;

// The running events: 20 slots, each a copy of an event record whose commands are
// changed in place as they run. A slot is in use while its name is not empty.
class EventQueue {
  public:
    // Called when an event finds no free slot.
    std::function<void()> onOverflow;

    // Copies `event` into the first free slot, empties the copy's origin room and returns
    // the slot; -1 (and the overflow call) when all slots are in use.
    int enqueue(std::span<const uint8_t> event);
    int enqueue(const EventRecord& event) { return enqueue(event.bytes()); }

    // Moves commands position..18 down by one (command 19 falls off) and writes
    // `command` at `position`.
    void insertCommand(int slot, std::span<const uint8_t> command, int position);

    // Clears the command after `position`; a "begin" there is cleared with everything
    // up to and including its matching "end" (nested pairs counted).
    void skipNext(int slot, int position);

    bool inUse(int slot) const { return !slots_[static_cast<size_t>(slot)].isEmpty(); }
    EventRecord& slot(int i) { return slots_[static_cast<size_t>(i)]; }
    const EventRecord& slot(int i) const { return slots_[static_cast<size_t>(i)]; }
    void free(int i) { slots_[static_cast<size_t>(i)].clearName(); }
    void clear();

    // True if a slot in use runs an event named `name` with source index `source`.
    bool isRunning(std::string_view name, int source) const;
    // True if a slot in use runs an event named `name` whose first parameter is `param1`.
    bool isRunningWithParam(std::string_view name, std::string_view param1) const;
    // Frees every slot whose commands are all empty.
    void freeFinished();

  private:
    std::array<EventRecord, kQueueSlots> slots_;
};

}  // namespace zk
