#pragma once
// Console lines of the utility layer: standard output is the debug channel.
#include <string>

namespace utilout {
void Line(const std::string& text);
} // namespace utilout
