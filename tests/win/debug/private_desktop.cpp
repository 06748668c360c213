#include "tests/win/debug/private_desktop.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class Desktop {
  public:
    Desktop() {
        std::string name = "stubtest_debug_" + std::to_string(GetCurrentProcessId());
        desktop_ = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (desktop_) name_ = name;
    }
    ~Desktop() {
        if (desktop_) CloseDesktop(desktop_);
    }
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    HDESK get() const { return desktop_; }
    const std::string& name() const { return name_; }

  private:
    HDESK desktop_ = nullptr;
    std::string name_;
};

Desktop& TheDesktop() {
    static Desktop desktop;
    return desktop;
}

class OnPrivateDesktop : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(UsePrivateDesktop()) << "no private desktop"; }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new OnPrivateDesktop);

} // namespace

const std::string& PrivateDesktopName() {
    return TheDesktop().name();
}

bool UsePrivateDesktop() {
    return TheDesktop().get() && SetThreadDesktop(TheDesktop().get());
}
