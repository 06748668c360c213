#pragma once
// Hook for the plug-in part of the stand-in. For now it only reports whether
// "Vetter.dll" lies beside the engine; loading it and calling its condition
// and execution exports is still to be written with the plug-in.
#include <string>

namespace engine {

// Record lines about the plug-in in `engineFolder` (with trailing backslash).
std::string PluginReport(const std::string& engineFolder);

} // namespace engine
