#pragma once
// Descriptor files of the agent tests: they lie beside the test program, as
// beside an agent, under names no other test uses, and go when done.
#include "stub/agent/descriptors.h"
#include "stub/util/paths.h"

#include <windows.h>

#include <string>

namespace agenttest {

class DescriptorFiles {
  public:
    explicit DescriptorFiles(const std::string& item) {
        agent::SetDescriptorItem(item);
        Remove();
    }
    ~DescriptorFiles() {
        Remove();
        agent::SetDescriptorItem("");
    }
    DescriptorFiles(const DescriptorFiles&) = delete;
    DescriptorFiles& operator=(const DescriptorFiles&) = delete;

    static void Write(const std::string& file, const char* section, const char* key,
                      const std::string& value) {
        WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
    }
    static void Base(const char* section, const char* key, const std::string& value) {
        Write(agent::BaseDescriptorPath(), section, key, value);
    }
    static void Update(const char* section, const char* key, const std::string& value) {
        Write(agent::UpdateDescriptorPath(), section, key, value);
    }

  private:
    static void Remove() {
        DeleteFileA(agent::BaseDescriptorPath().c_str());
        DeleteFileA(agent::UpdateDescriptorPath().c_str());
    }
};

} // namespace agenttest
