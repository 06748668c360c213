#pragma once
// A test fixture whose payload files are written into a temp folder of its own.
#include "core/package/writer.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace unpacktest {

class PayloadFixture : public ::testing::Test {
  protected:
    // A fresh source file holding bytes, to be stored under the name `stored`.
    package::PayloadFile File(const std::string& stored, const std::string& bytes,
                              uint32_t time = 0) {
        std::string path = dir_.file("src_" + std::to_string(count_++));
        EXPECT_TRUE(testsupport::WriteWholeFile(path, bytes));
        package::PayloadFile f;
        f.storedName = stored;
        f.sourcePath = path;
        f.size = bytes.size();
        f.dosTime = time;
        return f;
    }

    testsupport::TempDir dir_;

  private:
    int count_ = 0;
};

} // namespace unpacktest
