// The process id of a program in "tasklist.exe /FO csv" output.
#include "core/process/tasklist.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kOutput[] = "\r\n\"Image Name\",\"PID\",\"Session Name\",\"Session#\",\"Mem Usage\"\r\n"
                       "\"System Idle Process\",\"0\",\"Services\",\"0\",\"8 K\"\r\n"
                       "\"System\",\"4\",\"Services\",\"0\",\"1,220 K\"\r\n"
                       "\"product.exe\",\"0\",\"Console\",\"1\",\"2,000 K\"\r\n"
                       "\"Product.exe\",\"2100\",\"Console\",\"1\",\"12,004 K\"\r\n"
                       "\"product.exe\",\"3300\",\"Console\",\"1\",\"9,000 K\"\r\n"
                       "\"odd,name.exe\",\"512\",\"Console\",\"1\",\"100 K\"\r\n"
                       "\"X_agent.exe\",\"4711\",\"Console\",\"1\",\"3,100 K\"\r\n";

TEST(TasklistProcessId, FirstLineWithAnIdWinsWhereverTheProgramLives) {
    struct Case {
        const char* target;
        uint32_t expected;
    } cases[] = {
        {"product.exe", 2100},
        {"C:\\Program Files\\Product\\PRODUCT.EXE", 2100},
        {"  D:\\elsewhere\\product.exe  ", 2100},
        {"x_agent.exe", 4711},
        {"odd,name.exe", 512},
        {"odd", 0},
        {"System Idle Process", 0},
        {"System", 4},
        {"Image Name", 0},
        {"missing.exe", 0},
        {"", 0},
        {"C:\\folder\\", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TasklistProcessId(kOutput, c.target), c.expected) << c.target;
}

TEST(TasklistProcessId, EmptyOrBrokenOutputGivesNoId) {
    const char* outputs[] = {
        "",
        "\r\n",
        "INFO: No tasks are running which match the specified criteria.\r\n",
        "\"product.exe\"",
        "\"product.exe\",\"\"",
        "\"product.exe\",\"-5\"",
        "\"product.exe\",\"12x\"",
        "\"product.exe\",\"99999999999\"",
        "\"product.exe,\"17\"", // unbalanced quote swallows the comma
    };
    for (const char* o : outputs)
        EXPECT_EQ(TasklistProcessId(o, "product.exe"), 0u) << o;
}

TEST(ParseTasklistCsv, LinesFieldsAndLineEnds) {
    const auto rows =
        ParseTasklistCsv("\"a.exe\",\"1\"\n\n  \"b c.exe\" , \"22\" \r\nplain.exe,3,x\r\n");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].imageName, "a.exe");
    EXPECT_EQ(rows[0].pid, "1");
    EXPECT_EQ(rows[1].imageName, "b c.exe");
    EXPECT_EQ(rows[1].pid, "22");
    EXPECT_EQ(rows[2].imageName, "plain.exe");
    EXPECT_EQ(rows[2].pid, "3");
    EXPECT_EQ(ParseTasklistCsv("only\r\n")[0].pid, "");
}

} // namespace
