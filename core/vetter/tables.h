#pragma once
// The plug-in's fixed tables: version, result codes, condition and execution
// names, the installed-product table.
#include <cstddef>

namespace vetter {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 11;
constexpr int kVersionPatch = 5;
constexpr int kVersionBuild = 1;
// major, minor and patch printed "%02d%02d%02d" and read back as a number.
int DllVersionNumber();

enum ResultCode : int {
    RET_OK = 0,
    RET_NOTINSTALLED = 1,
    RET_NOVERSION = 2,
    RET_BADCALL = 3,
    RET_UNDEFINED = 10,
    RET_DONE = 11,
    RET_FATAL_ERROR = 55,
};
extern const char kReturnCodeTable[];

constexpr unsigned kConditionCount = 9;
constexpr unsigned kExecutionCount = 6;
// Null for an index out of range.
const char* ConditionName(unsigned index);
const char* ExecutionName(unsigned index);

struct ProductEntry {
    const char* key;
    const char* upgradeCode;
};
// Ends with an entry whose key and code are empty.
extern const ProductEntry ProductTable[];

} // namespace vetter
