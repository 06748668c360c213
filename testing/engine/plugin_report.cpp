#include "testing/engine/plugin_report.h"

#include "testing/engine/engine.h"

#include <windows.h>

namespace engine {

std::string PluginReport(const std::string& engineFolder) {
    const std::string dll = engineFolder + "Vetter.dll";
    const bool present = GetFileAttributesA(dll.c_str()) != INVALID_FILE_ATTRIBUTES;
    return RecordLine("Plugin", present ? "present, not called" : "absent");
}

} // namespace engine
