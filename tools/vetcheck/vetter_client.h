#pragma once
// A loaded Vetter.dll seen through its protocol exports, as the setup engine
// sees it: version, condition and execution names, answers and results.
#include <windows.h>

#include <string>
#include <vector>

namespace vetcheck {

struct NamedAnswer {
    unsigned index;
    std::string name;
    int answer; // 0 or 1 for a condition, 0 or 1 for an execution
};

// The identifiers the rules work with, asked without publishing.
struct IdentityFacts {
    int modelResult = -1; // 0 found, 4 not determined, -1 export missing
    std::string model;
    int chassisResult = -1;
    std::string chassis;
    bool dNumberFound = false;
    std::string dNumber;
};

class VetterClient {
  public:
    VetterClient() = default;
    ~VetterClient();
    VetterClient(const VetterClient&) = delete;
    VetterClient& operator=(const VetterClient&) = delete;

    // Loads the DLL; its own folder is searched for the libraries it needs.
    bool Load(const std::string& path);
    const std::string& error() const { return error_; }

    int Version() const;
    // Names while the alias export answers (at most 64).
    std::vector<std::string> ConditionNames() const;
    std::vector<std::string> ExecutionNames() const;
    // -1 when the export is missing.
    int Condition(unsigned index, const std::string& data) const;
    int Execution(unsigned index, const std::string& a, const std::string& b) const;
    std::vector<NamedAnswer> AllConditions(const std::string& data) const;
    IdentityFacts Identity() const;

    // The environment variables the plug-in sets for the engine, in order;
    // values are empty when unset.
    static std::vector<std::pair<std::string, std::string>> Published();

  private:
    FARPROC Proc(const char* name) const;
    HMODULE module_ = nullptr;
    std::string error_;
};

} // namespace vetcheck
