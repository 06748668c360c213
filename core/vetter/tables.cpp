#include "core/vetter/tables.h"

#include <cstdio>
#include <cstdlib>

namespace vetter {

int DllVersionNumber() {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", kVersionMajor, kVersionMinor, kVersionPatch);
    return std::atoi(text);
}

const char kReturnCodeTable[] = "\n   Valid return codes\n\n"
                                "   RET_OK                     0\n"
                                "   RET_NOTINSTALLED           1\n"
                                "   RET_NOVERSION              2\n"
                                "   RET_BADCALL\t\t\t\t  3\n"
                                "   RET_UNDEFINED\t\t\t 10\n"
                                "   RET_DONE                  11\n"
                                "   RET_FATAL_ERROR           55\n\n";

namespace {
const char* const kConditionNames[kConditionCount] = {
    "Valid System ?",
    "Chassis and/or D-Number found ?",
    "Is VTRX available ?",
    "Is WinPE OS ?",
    "Valid Windows ?",
    "Is W2K8 R2 OS ?",
    "Is Blade System ?",
    "Is Virtual Machine ?",
    "Is Competing Application installed ?",
};
const char* const kExecutionNames[kExecutionCount] = {
    "Extract File",   "Create bx.arg File", "Extract bx.par File", "Extract rel_note.txt File",
    "Display String", "Show Help",
};
} // namespace

const char* ConditionName(unsigned index) {
    return index < kConditionCount ? kConditionNames[index] : nullptr;
}
const char* ExecutionName(unsigned index) {
    return index < kExecutionCount ? kExecutionNames[index] : nullptr;
}

const ProductEntry ProductTable[] = {
    {"HOSTMON", "{7B21C0D4-5E3A-4C19-9F02-1D6E8A4B3C70}"},
    {"HOSTMON", "{2C9E4A61-0B7D-4E58-A3F1-6D02B7C9E814}"},
    {"MOBA", "{E4D07A92-61C3-4B8F-8E25-3F9A0C1D7B46}"},
    {"", ""},
};

} // namespace vetter
