#include "ZqRegistry.h"
#include "ScratchFolder.h"
#include "ZqPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

const char* const kKey = "HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_folder.Path("registry.reg");
        ZqPlatform::SetRegistryFile(m_path.c_str());
    }
    void TearDown() override { ZqPlatform::SetRegistryFile(nullptr); }
    void Write(const std::string& contents) { m_folder.Write("registry.reg", contents); }
    // The default value of kKey, "<no key>" or "<no value>".
    std::string DefaultValue(const char* key = kKey, const char* name = "") {
        std::unique_ptr<ZqRegistry> registry(ZqRegistry::Create(key));
        if (!registry) {
            return "<no key>";
        }
        ZqString value("<no value>");
        registry->QueryString(name, value);
        return static_cast<const char*>(value);
    }
    ScratchFolder m_folder;
    std::string m_path;
};

} // namespace

TEST_F(RegistryTest, ReadsValuesOfTheNamedKey) {
    Write("Windows Registry Editor Version 5.00\r\n\r\n"
          "; a comment\r\n"
          "[HKEY_CLASSES_ROOT\\KFM.Document]\r\n"
          "@=\"KFM Document\"\r\n\r\n"
          "[hkey_classes_root\\kfm.document\\SHELL\\open\\command]\r\n"
          "@=\"\\\"C:\\\\Tools\\\\Viewer.exe\\\" \\\"%1\\\"\"\r\n"
          "\"Size\"=dword:00000010\r\n"
          "\"Name\"=\"a = b\"\r\n"
          "[HKEY_CLASSES_ROOT\\Other]\r\n"
          "@=\"other\"\r\n");
    EXPECT_EQ(DefaultValue(), "\"C:\\Tools\\Viewer.exe\" \"%1\"");
    EXPECT_EQ(DefaultValue(kKey, "name"), "a = b");
    EXPECT_EQ(DefaultValue(kKey, "Size"), "<no value>"); // not a string
    EXPECT_EQ(DefaultValue(kKey, "Missing"), "<no value>");
    EXPECT_EQ(DefaultValue("HKEY_CLASSES_ROOT\\KFM.Document"), "KFM Document");
    EXPECT_EQ(DefaultValue("HKEY_CLASSES_ROOT\\KFM.Document\\shell"), "<no key>");
}

TEST_F(RegistryTest, MissingFileOrKeyOpensNothing) {
    EXPECT_EQ(DefaultValue(), "<no key>");
    Write("Windows Registry Editor Version "
          "5.00\n[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\n");
    EXPECT_EQ(DefaultValue(), "<no value>"); // the key is there, its default value is not
    Write("Windows Registry Editor Version "
          "5.00\n[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\n@=\"viewer %1\"\n");
    EXPECT_EQ(DefaultValue(), "viewer %1"); // read afresh at every open
}

TEST_F(RegistryTest, ReadsUtf16FilesAsRegeditWritesThem) {
    std::string text = "Windows Registry Editor Version 5.00\r\n"
                       "[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\r\n"
                       "@=\"v\xC3\xA9wer %1\"\r\n";
    std::u16string wide = u"Windows Registry Editor Version 5.00\r\n"
                          u"[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\r\n"
                          u"@=\"v\u00E9wer %1\"\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : wide) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    Write(bytes);
    EXPECT_EQ(DefaultValue(), "v\xC3\xA9wer %1");
}

TEST_F(RegistryTest, MalformedLinesAreSkipped) {
    Write("[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command\n"
          "@=\"unterminated\n"
          "\"=\"\n"
          "@=novalue\n"
          "[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\n"
          "\"broken\n"
          "@=\"kept\"\n");
    EXPECT_EQ(DefaultValue(), "kept");
}

TEST_F(RegistryTest, NamesAndValuesHoldingANulAreSkipped) {
    // As C strings they would read as shorter ones: "viewer" for the first.
    using namespace std::string_literals;
    Write("[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\n"
          "@=\"viewer\0 --evil\"\n"
          "\"Na\0me\"=\"x\"\n"
          "\"Escaped\"=\"a\\\0b\"\n"
          "\"Other\"=\"kept\"\n"s);
    EXPECT_EQ(DefaultValue(), "<no value>");
    EXPECT_EQ(DefaultValue(kKey, "Na"), "<no value>");
    EXPECT_EQ(DefaultValue(kKey, "Escaped"), "<no value>");
    EXPECT_EQ(DefaultValue(kKey, "Other"), "kept");
}

TEST_F(RegistryTest, ExpandableStringsReadAsTheirTextUnexpanded) {
    // As reg export writes a REG_EXPAND_SZ value: UTF-16LE bytes and the
    // terminating NUL in hexadecimal, in lines of about 25 bytes ending in "\".
    auto hex = [](const std::u16string& text) {
        std::string out = "hex(2):";
        char byte[4];
        std::u16string whole = text + u'\0';
        for (size_t i = 0; i < whole.size(); ++i) {
            for (unsigned b : {whole[i] & 0xFFu, unsigned(whole[i]) >> 8}) {
                std::snprintf(byte, sizeof byte, "%02x", b);
                out += byte;
                out += ',';
            }
            if (i % 12 == 11) {
                out += "\\\r\n  ";
            }
        }
        out.pop_back();
        return out;
    };
    Write("Windows Registry Editor Version 5.00\r\n"
          "[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\r\n"
          "@=" +
          hex(u"\"%ProgramFiles%\\Tools\\v\u00E9wer.exe\" \"%1\"") +
          "\r\n"
          "\"Short\"=" +
          hex(u"%1") +
          "\r\n"
          "\"Empty\"=hex(2):00,00\r\n"
          "\"Broken\"=hex(2):4x,00\r\n"
          "\"Binary\"=hex:41,00\r\n");
    EXPECT_EQ(DefaultValue(), "\"%ProgramFiles%\\Tools\\v\xC3\xA9wer.exe\" \"%1\"");
    EXPECT_EQ(DefaultValue(kKey, "short"), "%1");
    EXPECT_EQ(DefaultValue(kKey, "Empty"), "");
    EXPECT_EQ(DefaultValue(kKey, "Broken"), "<no value>");
    EXPECT_EQ(DefaultValue(kKey, "Binary"), "<no value>"); // not a string
}
