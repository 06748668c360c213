// The engine's protocol: version, names, conditions and executions.
#include "vetter/api/exports.h"
#include "vetter/api/executions.h"
#include "vetter/api/guard.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/tables.h"

#include <cstring>

using vetter::Guarded;

namespace {

char* CopyName(const char* name, char* buffer) {
    if (!name || !buffer) return nullptr;
    std::strcpy(buffer, name); // the caller's buffer holds the longest name
    return buffer;
}

template <typename F> int Condition(F&& rule) {
    return Guarded(0, [&] { return rule() ? 1 : 0; });
}

} // namespace

extern "C" {

int GetDllVersion() {
    return vetter::DllVersionNumber();
}

char* GetConditionAlias(unsigned index, char* buffer) {
    return Guarded<char*>(nullptr, [&] { return CopyName(vetter::ConditionName(index), buffer); });
}

char* GetExecutionAlias(unsigned index, char* buffer) {
    return Guarded<char*>(nullptr, [&] { return CopyName(vetter::ExecutionName(index), buffer); });
}

int GetCondition_0(void*, void*, char* data) {
    return Condition([&] { return Is_Valid_System(data, true); });
}
int GetCondition_1(void*, void*, char*) {
    return Condition([] { return Is_BoardID_Available(true); });
}
int GetCondition_2(void*, void*, char*) {
    return Condition([] { return Is_VTRX_available(false) != 0; });
}
int GetCondition_3(void*, void*, char*) {
    return Condition([] { return Is_WinPE_OS(); });
}
int GetCondition_4(void*, void*, char* data) {
    return Condition([&] { return Is_Valid_Windows(data); });
}
int GetCondition_5(void*, void*, char*) {
    return Condition([] { return Is_Win2008R2_OS(); });
}
int GetCondition_6(void*, void*, char*) {
    return Condition([] { return Is_Blade_System(); });
}
int GetCondition_7(void*, void*, char*) {
    return Condition([] { return Is_Virtual_Machine(false); });
}
int GetCondition_8(void*, void*, char* data) {
    return Condition([&] { return CheckForRivalApplication(data) != 0; });
}

int SetExecution_0(void*, void*, char* a, char* b) {
    return Guarded(0, [&] { return vetter::ExtractFile(a, b); });
}
int SetExecution_1(void*, void*, char* a, char* b) {
    return Guarded(0, [&] { return vetter::CreateBxArgFile(a, b); });
}
int SetExecution_2(void*, void*, char* a, char* b) {
    return Guarded(0, [&] { return vetter::ExtractBxParFile(a, b); });
}
int SetExecution_3(void*, void*, char* a, char* b) {
    return Guarded(0, [&] { return vetter::ExtractReleaseNotes(a, b); });
}
int SetExecution_4(void*, void*, char* a, char*) {
    return Guarded(0, [&] { return vetter::DisplayString(a); });
}
int SetExecution_5(void*, void*, char* a, char* b) {
    return Guarded(0, [&] { return vetter::ShowHelp(a, b); });
}

} // extern "C"
