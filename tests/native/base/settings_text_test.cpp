#include "base/settings_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vistrel;
using namespace std::literals;

namespace {

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Stands for the system's ANSI code page, and shows what reached it.
struct AnsiRecorder {
    std::vector<std::string> calls;
    AnsiDecoder Decoder() {
        return [this](std::string_view bytes) {
            calls.emplace_back(bytes);
            return std::wstring(L"(ansi)");
        };
    }
};

std::wstring Decode(std::string_view bytes, AnsiRecorder& ansi) {
    return DecodeSettingsText(Bytes(bytes), ansi.Decoder());
}

} // namespace

TEST(SettingsText, Utf8FromATextEditorIsReadWithOrWithoutItsMark) {
    AnsiRecorder ansi;
    EXPECT_EQ(Decode("[photo]\r\nname=фото_%.3d\r\n", ansi), L"[photo]\r\nname=фото_%.3d\r\n");
    EXPECT_EQ(Decode("\xEF\xBB\xBFname=фото", ansi), L"name=фото");
    EXPECT_EQ(Decode("\xEF\xBB\xBF", ansi), L"");
    EXPECT_TRUE(ansi.calls.empty());
}

TEST(SettingsText, AsciiAndTextThatIsNoUtf8GoToTheAnsiCodePage) {
    AnsiRecorder ansi;
    EXPECT_EQ(Decode("[photo]\r\nname=image_%.5d\r\n", ansi), L"(ansi)");
    // "name=фото" in CP1251.
    EXPECT_EQ(Decode("name=\xF4\xEE\xF2\xEE", ansi), L"(ansi)");
    EXPECT_EQ(Decode("", ansi), L"(ansi)");
    EXPECT_EQ(ansi.calls, (std::vector<std::string>{"[photo]\r\nname=image_%.5d\r\n",
                                                    "name=\xF4\xEE\xF2\xEE", ""}));
}

TEST(SettingsText, OnlyStrictUtf8IsTakenForUtf8WithoutAMark) {
    for (const char* damaged : {
             "\xC0\xAF",         // overlong "/"
             "\xE0\x80\xAF",     // overlong "/" in three bytes
             "\xF0\x80\x80\xAF", // and in four
             "\xED\xA0\x80",     // a surrogate, U+D800
             "\xED\xBF\xBF",     // U+DFFF
             "\xF4\x90\x80\x80", // past U+10FFFF
             "\xF5\x80\x80\x80", // a lead byte that can start nothing
             "\xD1\x84\xD0",     // "ф" and a sequence cut short at the end
             "\xE3\x81",         // cut short in three bytes
             "\xF0\x9F\x93",     // and in four
             "\xD1\x84\x84",     // a stray continuation byte
         }) {
        AnsiRecorder ansi;
        EXPECT_EQ(Decode(damaged, ansi), L"(ansi)") << testing::PrintToString(damaged);
        EXPECT_EQ(ansi.calls.size(), 1u);
    }
    AnsiRecorder ansi;
    // The highest code points each length can hold are valid.
    EXPECT_EQ(Decode("\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF", ansi), L"\u07FF\uFFFF\U0010FFFF");
    EXPECT_TRUE(ansi.calls.empty());
}

TEST(SettingsText, DamagedUtf8BehindItsMarkBecomesReplacementCharacters) {
    AnsiRecorder ansi;
    // Each longest start of a damaged sequence is one U+FFFD; what follows is read again.
    EXPECT_EQ(Decode("\xEF\xBB\xBF"
                     "a\xC0\xAF"
                     "b\xED\xA0\x80"
                     "c\xF4\x90"
                     "d\xE3\x81"
                     "e\xF0\x9F\x93",
                     ansi),
              L"a\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFDc\uFFFD\uFFFDd\uFFFDe\uFFFD");
    EXPECT_TRUE(ansi.calls.empty());
}

TEST(SettingsText, Utf16WithItsMarkRoundTrips) {
    const std::wstring text = L"[photo]\r\nname=фото_%.3d\r\nfolder=C:\\Фото 📷\r\n";
    std::vector<uint8_t> bytes = EncodeSettingsText(text);
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<uint8_t>{0xFF, 0xFE, '[', 0}));
    AnsiRecorder ansi;
    EXPECT_EQ(DecodeSettingsText(bytes, ansi.Decoder()), text);
    bytes.push_back('x'); // half a unit at the end
    EXPECT_EQ(DecodeSettingsText(bytes, ansi.Decoder()), text);
    EXPECT_EQ(Decode("\xFF\xFE", ansi), L"");
    EXPECT_TRUE(ansi.calls.empty());
}

TEST(SettingsText, CharactersPastTheBasicPlaneAreTheSameTextInEveryForm) {
    // U+1F4F7 (a camera): surrogate pairs where wchar_t has 16 bits, one code point where 32.
    const std::wstring camera = L"\U0001F4F7";
    ASSERT_EQ(camera.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
    EXPECT_EQ(EncodeSettingsText(camera),
              (std::vector<uint8_t>{0xFF, 0xFE, 0x3D, 0xD8, 0xF7, 0xDC}));
    AnsiRecorder ansi;
    EXPECT_EQ(Decode("\xFF\xFE\x3D\xD8\xF7\xDC", ansi), camera);
    EXPECT_EQ(Decode("\xF0\x9F\x93\xB7", ansi), camera);
    EXPECT_EQ(Decode("\xEF\xBB\xBF\xF0\x9F\x93\xB7", ansi), camera);
    // An unpaired surrogate in UTF-16 stays one unit, as the system keeps it.
    EXPECT_EQ(Decode("\xFF\xFE\x3D\xD8z\0"sv, ansi), (std::wstring{wchar_t(0xD83D), L'z'}));
    EXPECT_TRUE(ansi.calls.empty());
}
