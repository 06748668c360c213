#pragma once
// The web-download setup: a stub without payload fetches the setup package
// its download block names (or takes it from beside itself), checks that it
// carries the same secret token and runs it like a payload of its own.
#include <string>

// The setup start's branch for web-download stubs; an agent copy name that is
// not empty first writes the update agent copy of this stub into the setup
// folder.
void WebSetupStart(const std::string& agentCopyName);

// Fetches (unless source + "\" + fileName is a file), verifies and runs the
// package; every failure ends in a message box, a declined question in none.
void WebSetup(const std::string& targetFolder, const std::string& source,
              const std::string& fileName);

// The bytes of the update agent copy of a web stub image: cut at the package
// end pointer when only a signature follows it, byte length - 5 set to 1.
std::string WebAgentCopyImage(std::string image);
