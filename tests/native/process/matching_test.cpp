// Matching a target path against process texts, short forms and placeholders,
// and the id search in a name=pid list.
#include "core/process/matching.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Short forms of the files that "exist" in these tests.
ShortFormFn FakeShortForms() {
    static const std::map<std::string, std::string> forms = {
        {"C:\\Program Files\\Product\\product.exe", "C:\\PROGRA~1\\Product\\product.exe"},
        {"C:\\PROGRA~1\\Product\\product.exe", "C:\\PROGRA~1\\Product\\product.exe"},
        {"C:\\Long Folder\\LongProgram.exe", "C:\\LONGFO~1\\LONGPR~1.EXE"},
        {"LongProgram.exe", "LONGPR~1.EXE"},
        {"LONGPR~1.EXE", "LONGPR~1.EXE"},
    };
    return [](const std::string& path) {
        auto it = forms.find(path);
        return it == forms.end() ? std::string() : it->second;
    };
}

TEST(FileNamePart, AfterTheLastSeparator) {
    EXPECT_EQ(FileNamePart("C:\\a\\b.exe"), "b.exe");
    EXPECT_EQ(FileNamePart("C:b.exe"), "b.exe");
    EXPECT_EQ(FileNamePart("dir/b.exe"), "b.exe");
    EXPECT_EQ(FileNamePart("b.exe"), "b.exe");
    EXPECT_EQ(FileNamePart("C:\\a\\"), "");
    EXPECT_EQ(FileNamePart(""), "");
}

TEST(TargetShortForm, PlaceholderWhenTheTargetHasNone) {
    const ShortFormFn forms = FakeShortForms();
    EXPECT_EQ(TargetShortForm("C:\\Long Folder\\LongProgram.exe", forms),
              "C:\\LONGFO~1\\LONGPR~1.EXE");
    EXPECT_EQ(TargetShortForm("C:\\missing.exe", forms), "*XX*");
    EXPECT_EQ(TargetShortForm("C:\\missing.exe", nullptr), "*XX*");
}

TEST(CandidateMatches, FullNameBaseNameAndShortForms) {
    const ShortFormFn forms = FakeShortForms();
    const std::string product = "C:\\Program Files\\Product\\product.exe";
    struct Case {
        const char* what;
        std::string target;
        ProcessCandidate candidate;
        bool expected;
    } cases[] = {
        {"same path, other case and blanks",
         "  c:\\program files\\product\\PRODUCT.EXE ",
         {product, "product.exe"},
         true},
        {"file name alone", "Product.exe", {product, "product.exe"}, true},
        {"file name with the name hidden", "product.exe", {product, kNameHidden}, false},
        {"full path with the name hidden", product, {product, kNameHidden}, true},
        {"short path of the target against the long listed path",
         "C:\\PROGRA~1\\Product\\product.exe",
         {product, kNameHidden},
         true},
        {"long target against a short listed path",
         "C:\\Long Folder\\LongProgram.exe",
         {"LONGPR~1.EXE", "LONGPR~1.EXE"},
         false},
        {"other program", "C:\\other.exe", {product, "product.exe"}, false},
        // Neither side has a short form: the placeholders must not meet.
        {"both missing on disk", "C:\\gone\\a.exe", {"C:\\gone\\b.exe", "b.exe"}, false},
        {"the placeholder as a process name", "C:\\gone\\a.exe", {"*XX*", "*XX*"}, false},
        {"the hidden-name placeholder as target", "*X*", {product, kNameHidden}, false},
    };
    for (const Case& c : cases) {
        const std::string targetShort = TargetShortForm(c.target, forms);
        EXPECT_EQ(CandidateMatches(c.target, targetShort, c.candidate, forms), c.expected)
            << c.what;
    }
}

TEST(IdFromNameList, LastMatchingItemWins) {
    const ShortFormFn forms = FakeShortForms();
    const std::string list = "|explorer.exe=40|product.exe=120|LONGPR~1.EXE=77|Product.EXE=300|";
    struct Case {
        const char* target;
        uint32_t expected;
    } cases[] = {
        {"C:\\Program Files\\Product\\product.exe", 300},
        {"\"product.exe\"", 0}, // quotes are the caller's business
        {"explorer.exe", 40},
        {"C:\\Long Folder\\LongProgram.exe", 77}, // by short form of the file name
        {"missing.exe", 0},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IdFromNameList(list, c.target, forms), c.expected) << c.target;
    EXPECT_EQ(IdFromNameList("|a.exe=0|", "a.exe", forms), 0u);
    EXPECT_EQ(IdFromNameList("|a.exe=x|", "a.exe", forms), 0u);
    EXPECT_EQ(IdFromNameList("|a.exe=99999999999|", "a.exe", forms), 0u);
    EXPECT_EQ(IdFromNameList("", "a.exe", forms), 0u);
    const std::string full = "|C:\\Program Files\\Product\\product.exe=8|C:\\other\\product.exe=9|";
    EXPECT_EQ(IdFromNameList(full, "C:\\PROGRA~1\\Product\\product.exe", forms, true), 8u);
    EXPECT_EQ(IdFromNameList(full, "c:\\other\\product.exe", forms, true), 9u);
    EXPECT_EQ(IdFromNameList(full, "product.exe", forms, true), 0u);
    EXPECT_EQ(IdFromNameList(full, "C:\\other\\product.exe", forms, false), 0u);
}

} // namespace
