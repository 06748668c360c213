#pragma once
// The exported system-ID list and its module-level length.
#include <cstddef>

namespace vetter {

// Entries appended to system_id_entry_list so far (every read appends).
size_t SystemIdEntryCount();

} // namespace vetter
