#include "vetter/api/set_env_value.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/tables.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vetter {

int SetEnvValue(const char* name, const char* value) {
    if (!name || !*name) return RET_FATAL_ERROR;
    char pair[kOutSize];
    int n = std::snprintf(pair, sizeof pair, "%s=%s", name, value ? value : "");
    if (n < 0 || static_cast<std::size_t>(std::strlen(name)) + 1 >= sizeof pair)
        return RET_FATAL_ERROR;
    return _putenv(pair) == 0 ? RET_OK : RET_FATAL_ERROR;
}

} // namespace vetter
