// The extraction benchmark's driver under Wine (bench/extract.sh): disabled in
// test runs; extracts STUB_BENCH_PACKAGE into STUB_BENCH_TARGET and prints the
// stub's own "UnCompressTime" line.
#include "stub/package/unpack.h"
#include "tests/win/unpack/unpack_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

TEST(UnpackBench, DISABLED_ExtractPackageFromEnvironment) {
    const char* package = std::getenv("STUB_BENCH_PACKAGE");
    const char* target = std::getenv("STUB_BENCH_TARGET");
    if (!package || !target) GTEST_SKIP() << "STUB_BENCH_PACKAGE and STUB_BENCH_TARGET unset";
    unpacktest::ConsoleCapture console;
    bool passed = false;
    std::string run;
    std::string error = Extract(package, target, "", passed, nullptr, "", "", "", 0, false, run);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(passed);
    for (const std::string& line : console.Lines())
        if (line.compare(0, 15, "UnCompressTime:") == 0) std::printf("%s\n", line.c_str());
}

} // namespace
