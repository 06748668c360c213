#include "core/util/switches.h"

#include <cstdlib>
#include <cstring>

bool DeveloperModeFor(const char* dvxValue) {
    return dvxValue != nullptr && std::strcmp(dvxValue, "689") == 0;
}

bool IsDeveloperMode() {
    static const bool answer = DeveloperModeFor(std::getenv("DVX"));
    return answer;
}
