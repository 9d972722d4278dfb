#include "EscapedText.h"

#include <gtest/gtest.h>

TEST(EscapedText, OnlyWhatATerminalWouldActOnIsEscaped) {
    struct Case {
        std::string text;
        std::string shown;
    } cases[] = {
        {"plain text, C:\\Data\\sky.hdr", "plain text, C:\\Data\\sky.hdr"},
        {"tab\tand\nline", "tab\tand\nline"},
        {"report line\r\r\nnext\r\n", "report line\r\r\nnext\r\n"},
        {"hidden\rshown", "hidden\\x0Dshown"},
        {"ends in\r", "ends in\\x0D"},
        {"\x1b[2Jclear", "\\x1B[2Jclear"},
        {std::string("nul\0here", 8), "nul\\x00here"},
        {"del\x7f", "del\\x7F"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
        {"lone \xc3", "lone \\xC3"},
        {"cut \xe2\x82", "cut \\xE2\\x82"},
        {"overlong \xc0\xaf \xe0\x80\xaf", "overlong \\xC0\\xAF \\xE0\\x80\\xAF"},
        {"surrogate \xed\xa0\x80", "surrogate \\xED\\xA0\\x80"},
        {"too high \xf4\x90\x80\x80", "too high \\xF4\\x90\\x80\\x80"},
        {"stray \x80 \xff", "stray \\x80 \\xFF"},
        {"C1 \xc2\x9b[2J", "C1 \\xC2\\x9B[2J"},
        {"first after C1 \xc2\xa0", "first after C1 \xc2\xa0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapedText(c.text), c.shown) << c.shown;
    }
}
