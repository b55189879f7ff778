#pragma once

namespace zk {

// Keeps freed memory in the process for reuse instead of handing it back to the system
// at once. Pictures of several megabytes are freed and allocated again at every room
// change; fresh pages from the system cost more than decoding into reused ones.
void keepFreedMemory();

}  // namespace zk
