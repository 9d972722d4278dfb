#include "ZqString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(ZqString, ConstructionAndComparison) {
    EXPECT_STREQ(ZqString(nullptr), "");
    EXPECT_TRUE(ZqString(256).IsEmpty());
    EXPECT_GE(ZqString(256).Capacity(), 256u);
    ZqString text("Plug-in");
    EXPECT_TRUE(text == "Plug-in");
    EXPECT_FALSE(text == "plug-in");
    EXPECT_TRUE(text != "plug-in");
    EXPECT_TRUE(text.EqualsNoCase("PLUG-IN"));
    EXPECT_FALSE(text.EqualsNoCase("PLUG-INS"));
    EXPECT_TRUE(ZqString() == nullptr);
    ZqString copy(text);
    copy += "s";
    EXPECT_STREQ(text, "Plug-in");
    EXPECT_STREQ(copy, "Plug-ins");
}

TEST(ZqString, Concatenation) {
    ZqString a("ab");
    EXPECT_STREQ(a + ZqString("cd"), "abcd");
    EXPECT_STREQ(a + "cd", "abcd");
    EXPECT_STREQ("cd" + a, "cdab");
    EXPECT_STREQ(a + 'c', "abc");
    a += 'x';
    a += ZqString("y");
    a += "z";
    a += static_cast<const char*>(nullptr);
    EXPECT_STREQ(a, "abxyz");
    EXPECT_EQ(a.Length(), 5u);
    a += a; // appending itself must read the old contents
    EXPECT_STREQ(a, "abxyzabxyz");
}

TEST(ZqString, AppendsGrowGeometrically) {
    ZqString text(4);
    unsigned reallocations = 0;
    unsigned capacity = text.Capacity();
    for (int i = 0; i < 100000; ++i) {
        text += 'x';
        if (text.Capacity() != capacity) {
            ++reallocations;
            capacity = text.Capacity();
        }
    }
    EXPECT_EQ(text.Length(), 100000u);
    EXPECT_LE(reallocations, 20u);
}

TEST(ZqString, Format) {
    ZqString text(8);
    text.Format("%s Object: (%d x %d)\r\r\n", "ZqTexture", 64, -2);
    EXPECT_STREQ(text, "ZqTexture Object: (64 x -2)\r\r\n");
    std::string longName(1000, 'n');
    text.Format("\"%s\"", longName.c_str());
    EXPECT_EQ(std::string(text), "\"" + longName + "\"");
    text.Format("[%s]", static_cast<const char*>(text)); // argument inside the buffer itself
    EXPECT_EQ(std::string(text), "[\"" + longName + "\"]");
}

TEST(ZqString, NumberAndBoolTexts) {
    struct Case {
        ZqString actual;
        const char* expected;
    } cases[] = {
        {ZqString::FromInt(0), "0"},
        {ZqString::FromInt(-12), "-12"},
        {ZqString::FromInt(INT_MIN), "-2147483648"},
        {ZqString::FromFloat(1.5f), "1.500000"},
        {ZqString::FromFloat(2097152.0f), "2097152.000000"},
        {ZqString::FromFloat(-0.25f), "-0.250000"},
        {ZqString::FromBool(true), "true"},
        {ZqString::FromBool(false), "false"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.actual, c.expected);
    }
}

TEST(ZqString, Replace) {
    struct Case {
        const char* text;
        const char* oldText;
        const char* newText;
        const char* expected;
    } cases[] = {
        {"viewer.exe \"%1\"", "%1", "C:\\a b\\x.KFM", "viewer.exe \"C:\\a b\\x.KFM\""},
        {"%1 %1", "%1", "f", "f f"},
        {"no marker", "%1", "f", "no marker"},
        {"%1", "%1", "%1%1", "%1%1"},
        {"abc", "", "x", "abc"},
        {"abc", "b", nullptr, "ac"},
    };
    for (const Case& c : cases) {
        ZqString text(c.text);
        text.Replace(c.oldText, c.newText);
        EXPECT_STREQ(text, c.expected) << c.text;
    }
}

TEST(ZqString, SetAtAndFindReverse) {
    ZqString path("C:\\Game.v2\\Data\\TEMP.KFM");
    int dot = path.FindReverse('.');
    EXPECT_EQ(dot, 20);
    path.SetAt(static_cast<unsigned>(dot), '\0');
    EXPECT_STREQ(path, "C:\\Game.v2\\Data\\TEMP");
    EXPECT_EQ(path.Length(), 20u);
    EXPECT_STREQ(path + ".set", "C:\\Game.v2\\Data\\TEMP.set");
    path.SetAt(500, '\0'); // past the end: ignored
    path.SetAt(0, 'D');
    EXPECT_STREQ(path, "D:\\Game.v2\\Data\\TEMP");
    EXPECT_EQ(ZqString("nodot").FindReverse('.'), -1);
    EXPECT_EQ(ZqString("").FindReverse('.'), -1);
}

TEST(ZqString, EmptyKeepsTheStringUsable) {
    ZqString text("something");
    text.Empty();
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_STREQ(text, "");
    text += "again";
    EXPECT_STREQ(text, "again");
    ZqString moved(std::move(text));
    EXPECT_STREQ(moved, "again");
    EXPECT_STREQ(text, ""); // NOLINT: a moved-from string is still a valid empty string
}
