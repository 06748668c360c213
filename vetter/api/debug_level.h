#pragma once
// The plug-in's debug level, fixed when it is built: 0 keeps the debug file
// closed and the levelled messages of the FC inventory silent.
namespace vetter {

constexpr int kDebugLevel = 0;

} // namespace vetter
