#include "tools/vetcheck/vetter_client.h"

#include <cstdio>

namespace vetcheck {

namespace {
using VersionFn = int (*)();
using AliasFn = char* (*)(unsigned, char*);
using ConditionFn = int (*)(void*, void*, char*);
using ExecutionFn = int (*)(void*, void*, char*, char*);
using TextFn = int (*)(char*, bool);
using BoardFn = bool (*)(char*, bool);

template <typename Fn> Fn As(FARPROC p) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
}

const char* const kPublished[] = {"CHASSISID",   "CHASSISMODEL", "SACHNUMMER",
                                  "SYSTEMMODEL", "VTRX_VERSION", "MOBA_VERSION"};

std::vector<std::string> Names(AliasFn alias) {
    std::vector<std::string> names;
    if (!alias) return names;
    for (unsigned i = 0; i < 64; ++i) {
        char buffer[512] = {};
        if (!alias(i, buffer)) break;
        buffer[sizeof buffer - 1] = '\0';
        names.emplace_back(buffer);
    }
    return names;
}
} // namespace

VetterClient::~VetterClient() {
    if (module_) FreeLibrary(module_);
}

bool VetterClient::Load(const std::string& path) {
    module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module_) {
        char text[64];
        std::snprintf(text, sizeof text, "cannot load (error %lu)", GetLastError());
        error_ = text;
        return false;
    }
    return true;
}

FARPROC VetterClient::Proc(const char* name) const {
    return module_ ? GetProcAddress(module_, name) : nullptr;
}

int VetterClient::Version() const {
    auto fn = As<VersionFn>(Proc("GetDllVersion"));
    return fn ? fn() : -1;
}

std::vector<std::string> VetterClient::ConditionNames() const {
    return Names(As<AliasFn>(Proc("GetConditionAlias")));
}

std::vector<std::string> VetterClient::ExecutionNames() const {
    return Names(As<AliasFn>(Proc("GetExecutionAlias")));
}

int VetterClient::Condition(unsigned index, const std::string& data) const {
    auto fn = As<ConditionFn>(Proc(("GetCondition_" + std::to_string(index)).c_str()));
    if (!fn) return -1;
    std::string copy = data; // the plug-in gets a writable text, as from the engine
    return fn(nullptr, nullptr, &copy[0]);
}

int VetterClient::Execution(unsigned index, const std::string& a, const std::string& b) const {
    auto fn = As<ExecutionFn>(Proc(("SetExecution_" + std::to_string(index)).c_str()));
    if (!fn) return -1;
    std::string ca = a, cb = b;
    return fn(nullptr, nullptr, &ca[0], &cb[0]);
}

std::vector<NamedAnswer> VetterClient::AllConditions(const std::string& data) const {
    std::vector<NamedAnswer> answers;
    std::vector<std::string> names = ConditionNames();
    for (unsigned i = 0; i < names.size(); ++i)
        answers.push_back({i, names[i], Condition(i, data)});
    return answers;
}

std::vector<std::pair<std::string, std::string>> VetterClient::Published() {
    std::vector<std::pair<std::string, std::string>> values;
    for (const char* name : kPublished) {
        char value[512] = {};
        DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
        values.emplace_back(name, n > 0 && n < sizeof value ? std::string(value, n) : "");
    }
    return values;
}

IdentityFacts VetterClient::Identity() const {
    IdentityFacts facts;
    auto text = [&](const char* name, std::string* out) {
        auto fn = As<TextFn>(Proc(name));
        if (!fn) return -1;
        char buffer[512] = {};
        int r = fn(buffer, false);
        buffer[sizeof buffer - 1] = '\0';
        *out = buffer;
        return r;
    };
    facts.modelResult = text("?Get_Model_Name@@YAHPAD_N@Z", &facts.model);
    facts.chassisResult = text("?Get_Chassis_ID@@YAHPAD_N@Z", &facts.chassis);
    if (auto fn = As<BoardFn>(Proc("?Get_Systemboard_D_Nummer@@YA_NPAD_N@Z"))) {
        char buffer[512] = {};
        facts.dNumberFound = fn(buffer, false);
        buffer[sizeof buffer - 1] = '\0';
        facts.dNumber = buffer;
    }
    return facts;
}

} // namespace vetcheck
