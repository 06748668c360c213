#pragma once
// The operating-system type and the facts the registry placement needs.
#include "core/vetter/products.h"
#include "core/vetter/winver.h"

namespace vetter {

OsType GetOSType();
// 32-bit or 64-bit Windows, type determined, version 6.1 to 6.3.
SystemKind CurrentSystemKind();

} // namespace vetter
