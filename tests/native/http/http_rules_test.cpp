#include "core/net/http_download.h"
#include "core/net/http_errorpage.h"
#include "core/net/http_url.h"

#include <gtest/gtest.h>

#include <string>

TEST(HttpUrl, SchemeIsAddedOnlyWhenNoneIsPresent) {
    struct Case {
        const char* url;
        const char* opened;
    } cases[] = {
        {"127.0.0.1:8080/a.exe", "http://127.0.0.1:8080/a.exe"},
        {"http://host/a.exe", "http://host/a.exe"},
        {"HTTP://host/a.exe", "HTTP://host/a.exe"},
        {"hTtP://host/a.exe", "hTtP://host/a.exe"},
        // "http://" anywhere counts, as the downloader always did.
        {"proxy?u=http://host/a", "proxy?u=http://host/a"},
        {"https://host/a.exe", "https://host/a.exe"},
        {"HTTPS://host/a.exe", "HTTPS://host/a.exe"},
        {"ftp://host/a.exe", "http://ftp://host/a.exe"},
        {"http:/host", "http://http:/host"},
        {"", "http://"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompleteHttpUrl(c.url), c.opened) << c.url;
}

TEST(HttpUrl, CaptionIsTheLastPathElement) {
    struct Case {
        const char* url;
        const char* caption;
    } cases[] = {
        {"http://host/dir/Setup.exe", "Setup.exe"},
        {"http://host/dir/", ""},
        {"http://host", "host"},
        {"host:8080", "8080"},
        {"Setup.exe", "Setup.exe"},
        {"http://host/a\\b.exe", "b.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlCaption(c.url), c.caption) << c.url;
}

TEST(HttpDownloadRules, ChunkAndProgressCount) {
    struct Case {
        std::uint32_t size, chunk;
        std::int32_t count;
    } cases[] = {
        {1, 1, 2},         {9, 1, 10},        {10, 1, 11},
        {19, 1, 20},       {20, 2, 11},       {100000, 8192, 14},
        {81920, 8192, 11}, {81929, 8192, 12}, {kUnknownContentLength, 8192, 524289},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DownloadChunkSize(c.size), c.chunk) << c.size;
        EXPECT_EQ(DownloadProgressCount(c.size, DownloadChunkSize(c.size)), c.count) << c.size;
    }
    EXPECT_EQ(DownloadChunkSize(0), 1u);
}

TEST(HttpDownloadRules, TempNameWrapsModulo32Bits) {
    EXPECT_EQ(TempDownloadFileName("C:\\t\\a.exe", 100, 0), "C:\\t\\a.exe.100");
    EXPECT_EQ(TempDownloadFileName("C:\\t\\a.exe", 100, 0x5A2C6000u), "C:\\t\\a.exe.1512857700");
    EXPECT_EQ(TempDownloadFileName("a", kUnknownContentLength, 2), "a.1");
    EXPECT_EQ(TempDownloadFileName("a", kUnknownContentLength, 0), "a.4294967295");
}

TEST(HttpDownloadRules, OldDownloadFilesNeverIncludeTheTarget) {
    struct Case {
        const char* name;
        bool old;
    } cases[] = {
        {"Setup.exe.123", true}, {"SETUP.EXE.1", true},   {"Setup.exe.config", true},
        {"Setup.exe", false},    {"Setup.exe.", false},   {"Setup.exe1", false},
        {"Setup.ex.1", false},   {"XSetup.exe.1", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOldDownloadFile("Setup.exe", c.name), c.old) << c.name;
}

TEST(HttpDownloadRules, PackedFileDate) {
    DateTimeParts p;
    EXPECT_EQ(PackedFileDate(p), 0u); // a missing header leaves a zero date
    p = {2024, 3, 5, 14, 30, 59, 0};
    // date (44 << 9 | 3 << 5 | 5), time (14 << 11 | 30 << 5 | 29)
    EXPECT_EQ(PackedFileDate(p),
              (((44u << 9) | (3u << 5) | 5u) << 16) | ((14u << 11) | (30u << 5) | 29u));
    p = {1980, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(PackedFileDate(p), (1u << 5 | 1u) << 16);
    const DateTimeParts invalid[] = {
        {1979, 12, 31, 23, 59, 59, 0}, {2108, 1, 1, 0, 0, 0, 0},  {2023, 2, 29, 0, 0, 0, 0},
        {2024, 13, 1, 0, 0, 0, 0},     {2024, 1, 1, 24, 0, 0, 0}, {2024, 4, 31, 0, 0, 0, 0},
    };
    for (const DateTimeParts& d : invalid)
        EXPECT_EQ(PackedFileDate(d), 0u) << d.year << "-" << d.month << "-" << d.day;
    p = {2024, 2, 29, 0, 0, 0, 0};
    EXPECT_NE(PackedFileDate(p), 0u);
}

TEST(ErrorPage, TitleWith404OrAnHtmlHead) {
    struct Case {
        std::string text;
        bool page;
    } cases[] = {
        {"<html><head><title>404 Not Found</title></head></html>", true},
        {"<TITLE>Error 404</TITLE>", true},
        {"<title\n>x 404 y</title>", true},
        {"<HTML>\n<HEAD>\n<TITLE>Welcome</TITLE>", true},
        {"<html><head><title></title>", true},
        {"404 <title>Not found</title>", false}, // 404 before the title
        {"<title>Not found</title> 404", false},
        {"<html><title>Welcome</title><head>", false}, // order matters
        {"<html lang=en><head><title>Welcome</title>", false},
        {"MZ\x90\0\x03\0\0\0", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsErrorPageText(c.text), c.page) << c.text;
}

TEST(ErrorPage, OnlyTheFirst1000BytesCount) {
    const std::string page = "<html><head><title>404</title>";
    EXPECT_TRUE(IsErrorPageText(std::string(1000 - page.size(), ' ') + page));
    EXPECT_FALSE(IsErrorPageText(std::string(1001 - page.size(), ' ') + page));
    std::string binary(4000, '\0');
    binary.replace(2000, page.size(), page);
    EXPECT_FALSE(IsErrorPageText(binary));
}

TEST(ErrorPage, Message) {
    EXPECT_EQ(ErrorPageMessageText("http://h/a.exe"),
              "<B>404 File Not Found...</B><P><P>URL:  http://h/a.exe.<P><P>Please make sure the "
              "file is available and access is allowed to this file.");
}
