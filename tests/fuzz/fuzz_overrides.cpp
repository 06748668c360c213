// The override list parser on arbitrary lists: no crash or undefined
// behaviour, the list it makes always reads back to the same bytes, and
// applying a list twice changes nothing more.
#include "core/agent/descriptor_rules.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    agent::Overrides o;
    o.ApplyOverrideList(text);
    const std::string made = o.MakeOverrideList();
    agent::Overrides again;
    again.ApplyOverrideList(made);
    if (again.MakeOverrideList() != made) std::abort();
    o.ApplyOverrideList(text);
    if (o.MakeOverrideList() != made) std::abort();
    for (int i = 0; i < agent::kOverrideCount; ++i)
        if (o.Flag(i, false) && o.Get(i) != 1) std::abort();
    return 0;
}
