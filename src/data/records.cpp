#include "data/object_record.h"
#include "data/room_record.h"
#include "data/small_records.h"

namespace zk {
static_assert(ObjectRecord::kSize == 94752);
static_assert(EventRecord::kSize == 9236);
static_assert(StoredRoomRecord::kSize == 4116);
static_assert(RoomRecord::kSize == 2796);
static_assert(PreferencesRecord::kSize == 564);
static_assert(InventoryRecord::kSize == 1940);
}  // namespace zk
