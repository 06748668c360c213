#pragma once
// Command-line reading shared by the stubpack commands.
#include <cstdint>
#include <string>
#include <vector>

namespace stubpack {

class Args {
  public:
    Args(int argc, char** argv, int first);
    // "--name value" or "--name=value"; false when absent.
    bool Value(const std::string& name, std::string& out);
    std::vector<std::string> Values(const std::string& name);
    bool Flag(const std::string& name);
    bool Help() { return Flag("--help") || Flag("-h"); }
    // Whatever no option took; unknown options are reported by Finish.
    std::vector<std::string> Positional();
    // Empty when every argument was used, else a message naming the first one left.
    std::string Leftover() const;

  private:
    std::vector<std::string> args_;
    std::vector<bool> used_;
};

// "123", "64K", "700M", "4G" (binary units); false for anything else.
bool ParseSize(const std::string& text, uint64_t& out);
bool ParseUInt(const std::string& text, uint64_t max, uint64_t& out);

} // namespace stubpack
