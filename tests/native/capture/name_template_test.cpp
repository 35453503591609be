#include "base/error.h"
#include "capture/name_template.h"
#include "capture/photo_name.h"
#include "tests/native/support/error_of.h"

#include <gtest/gtest.h>

#include <set>

using namespace vistrel;

namespace {

std::wstring ErrorOf(std::wstring_view text) {
    return testing_support::ErrorOf([&] { FormatNameTemplate(text, 1); });
}

} // namespace

TEST(NameTemplate, FormatsNumberWithPaddingWidthAndJustification) {
    EXPECT_EQ(FormatNameTemplate(L"image_%.5d", 1), L"image_00001");
    EXPECT_EQ(FormatNameTemplate(L"image_%.5d", 123456), L"image_123456");
    EXPECT_EQ(FormatNameTemplate(L"shot%d", 1), L"shot1");
    EXPECT_EQ(FormatNameTemplate(L"shot%d", 42), L"shot42");
    EXPECT_EQ(FormatNameTemplate(L"[%5d]", 42), L"[   42]");
    EXPECT_EQ(FormatNameTemplate(L"[%-5d]", 42), L"[42   ]");
    EXPECT_EQ(FormatNameTemplate(L"[%6.3d]", 7), L"[   007]");
    EXPECT_EQ(FormatNameTemplate(L"[%-6.3d]", 7), L"[007   ]");
    EXPECT_EQ(FormatNameTemplate(L"[%.0d]", 0), L"[0]");
    EXPECT_EQ(FormatNameTemplate(L"[%2d]", 12345), L"[12345]");
    EXPECT_EQ(FormatNameTemplate(L"%.3d", -5), L"-005");
}

TEST(NameTemplate, TakesIndexCaseHexUnsignedAndPercent) {
    EXPECT_EQ(FormatNameTemplate(L"a%0:db", 3), L"a3b");
    EXPECT_EQ(FormatNameTemplate(L"%0:d-%0:.2d", 3), L"3-03");
    EXPECT_EQ(FormatNameTemplate(L"IMG%.4D", 9), L"IMG0009");
    EXPECT_EQ(FormatNameTemplate(L"%x", 255), L"FF");
    EXPECT_EQ(FormatNameTemplate(L"%.4X", 255), L"00FF");
    EXPECT_EQ(FormatNameTemplate(L"%u", -1), L"4294967295");
    EXPECT_EQ(FormatNameTemplate(L"100%% %d", 5), L"100% 5");
    EXPECT_EQ(FormatNameTemplate(L"фото №%d", 2), L"фото №2");
    EXPECT_EQ(FormatNameTemplate(L"plain", 7), L"plain");
}

TEST(NameTemplate, RefusesPlaceholdersThatDoNotTakeOneInteger) {
    const std::wstring invalid = L" invalid or incompatible with argument";
    EXPECT_EQ(ErrorOf(L"%s"), L"Format '%s'" + invalid);
    EXPECT_EQ(ErrorOf(L"img%f"), L"Format 'img%f'" + invalid);
    EXPECT_EQ(ErrorOf(L"a%e"), L"Format 'a%e'" + invalid);
    EXPECT_EQ(ErrorOf(L"%p"), L"Format '%p'" + invalid);
    EXPECT_EQ(ErrorOf(L"%q"), L"Format '%q'" + invalid);
    EXPECT_EQ(ErrorOf(L"end%"), L"Format 'end%'" + invalid);
    EXPECT_EQ(ErrorOf(L"end%-5"), L"Format 'end%-5'" + invalid);
    EXPECT_EQ(ErrorOf(L"%99999d"), L"Format '%99999d'" + invalid);
    EXPECT_EQ(ErrorOf(L"%.99999999999999999999d"), L"Format '%.99999999999999999999d'" + invalid);

    EXPECT_EQ(ErrorOf(L"%d_%d"), L"No argument for format '%d_%d'");
    EXPECT_EQ(ErrorOf(L"%d%s"), L"No argument for format '%d%s'");
    EXPECT_EQ(ErrorOf(L"%1:d"), L"No argument for format '%1:d'");
    // "*" takes the width from the argument, which leaves none for the number.
    EXPECT_EQ(ErrorOf(L"%*d"), L"No argument for format '%*d'");
    EXPECT_EQ(ErrorOf(L"%*.*d"), L"No argument for format '%*.*d'");
}

TEST(NameTemplate, RefusesNamesOutsideThePhotosFolder) {
    const std::wstring outside = L" names a file outside the Photos folder";
    for (const wchar_t* text :
         {L"..\\esc_%.3d", L"sub\\shot%d", L"sub/shot%d", L"/shot%d", L"C:shot%d", L"shot%d:stream",
          L"%d\\", L"..%d", L"a..b", L"%0:d..", L"100%%:%d"})
        EXPECT_EQ(ErrorOf(text), L"Format '" + std::wstring(text) + L"'" + outside);
    // A colon of a placeholder's index is no part of the name, nor are dots apart.
    EXPECT_EQ(FormatNameTemplate(L"%0:d.x.%0:d", 7), L"7.x.7");
    EXPECT_EQ(FormatNameTemplate(L".a.%d", 1), L".a.1");
}

TEST(NameTemplate, KnowsWhetherTheNumberShows) {
    EXPECT_TRUE(NameTemplate(L"image_%.5d").UsesNumber());
    EXPECT_FALSE(NameTemplate(L"photo").UsesNumber());
    EXPECT_FALSE(NameTemplate(L"100%%").UsesNumber());
    EXPECT_FALSE(NameTemplate(L"").UsesNumber());
}

class FreePhotoName : public ::testing::Test {
protected:
    std::set<std::wstring> files; // names with extension, as they are on disk
    std::function<bool(const std::wstring&)> Taken() {
        return [this](const std::wstring& c) {
            ++checks;
            return PhotoNameTaken(c,
                                  [this](const std::wstring& name) { return files.count(name); });
        };
    }
    int checks = 0;
};

TEST_F(FreePhotoName, StartsAtOneAndFillsTheFirstGapAcrossBothExtensions) {
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"image_%.5d", Taken()), L"P\\image_00001");
    files = {L"P\\image_00001.bmp", L"P\\image_00002.jpg"};
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"image_%.5d", Taken()), L"P\\image_00003");
    files = {L"P\\image_00002.jpg"};
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"image_%.5d", Taken()), L"P\\image_00001");
    files = {L"P\\image_00001.jpg", L"P\\image_00003.jpg", L"P\\image_00004.bmp",
             L"P\\image_00005.jpg"};
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"image_%.5d", Taken()), L"P\\image_00002");
    files = {L"P\\shot1.jpg", L"P\\shot2.bmp"};
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"shot%d", Taken()), L"P\\shot3");
}

TEST_F(FreePhotoName, PngPhotosShareTheNumbering) {
    // A PNG fills the gap a deleted JPEG left, and never sits beside a JPEG of its number.
    files = {L"P\\image_00001.png", L"P\\image_00002.bmp", L"P\\image_00004.jpg"};
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"image_%.5d", Taken()), L"P\\image_00003");
    files.insert(L"P\\image_00003.jpg");
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"image_%.5d", Taken()), L"P\\image_00005");
    // Other files of the name do not take it.
    files = {L"P\\image_00001.jpeg", L"P\\image_00001.png.txt", L"P\\image_00001"};
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"image_%.5d", Taken()), L"P\\image_00001");
}

TEST_F(FreePhotoName, TemplateWithoutNumberStopsOnceItsNameIsTaken) {
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"photo", Taken()), L"P\\photo");
    files = {L"P\\photo.bmp"};
    try {
        FindFreePhotoName(L"P\\", L"photo", Taken());
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(e.Message().find(L"\"photo\""), std::wstring::npos) << e.Message();
        EXPECT_NE(e.Message().find(L"P\\photo"), std::wstring::npos);
    }
    EXPECT_EQ(checks, 2);
    files = {L"P\\100%.jpg"};
    EXPECT_THROW(FindFreePhotoName(L"P\\", L"100%%", Taken()), Error);
}

TEST_F(FreePhotoName, StopsAtTheLastNumberInsteadOfWrapping) {
    files = {L"P\\1.jpg", L"P\\2.bmp", L"P\\3.jpg"};
    EXPECT_EQ(FindFreePhotoName(L"P\\", L"%d", Taken(), 4), L"P\\4");
    try {
        FindFreePhotoName(L"P\\", L"%d", Taken(), 3);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(e.Message().find(L"\"%d\""), std::wstring::npos) << e.Message();
    }
    EXPECT_EQ(checks, 4 + 3);
}

TEST_F(FreePhotoName, TemplateErrorsComeBeforeAnyCheck) {
    EXPECT_THROW(FindFreePhotoName(L"P\\", L"%s", Taken()), Error);
    EXPECT_THROW(FindFreePhotoName(L"P\\", L"%d_%d", Taken()), Error);
    EXPECT_THROW(FindFreePhotoName(L"P\\", L"..\\esc_%.3d", Taken()), Error);
    EXPECT_EQ(checks, 0);
}
