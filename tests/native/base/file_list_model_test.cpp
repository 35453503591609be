#include "base/file_list_model.h"

#include <gtest/gtest.h>

#include <cwctype>

using namespace vistrel;

namespace {

std::wstring Upper(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out)
        c = static_cast<wchar_t>(std::towupper(c));
    return out;
}

std::vector<std::wstring> Names(const FileListModel& m) {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < m.Size(); ++i)
        out.push_back(m.Name(i));
    return out;
}

} // namespace

TEST(FileMask, SplitsAtEverySemicolon) {
    EXPECT_EQ(SplitMask(L"*.bmp;*.jpg"), (std::vector<std::wstring>{L"*.bmp", L"*.jpg"}));
    EXPECT_EQ(SplitMask(L";*.bmp;;"), (std::vector<std::wstring>{L"*.bmp"}));
    EXPECT_TRUE(SplitMask(L"").empty());
}

TEST(FileMask, MatchesWholeLongNamesOnly) {
    EXPECT_TRUE(MatchesPattern(L"A.JPG", L"*.JPG"));
    EXPECT_TRUE(MatchesPattern(L".JPG", L"*.JPG"));
    EXPECT_TRUE(MatchesPattern(L"A.B.JPG", L"*.JPG"));
    EXPECT_FALSE(MatchesPattern(L"A.JPEG", L"*.JPG"));
    EXPECT_FALSE(MatchesPattern(L"A.JPG.TXT", L"*.JPG"));
    EXPECT_FALSE(MatchesPattern(L"A.JP", L"*.JPG"));
    EXPECT_TRUE(MatchesPattern(L"IMAGE_1.BMP", L"IMAGE_?.*"));
    EXPECT_FALSE(MatchesPattern(L"IMAGE_10.BMP", L"IMAGE_?.*"));
    // A long hostile name against several stars finishes quickly.
    std::wstring longName(100000, L'A');
    EXPECT_FALSE(MatchesPattern(longName, L"*A*A*A*B"));
}

TEST(FileListModel, KeepsMatchingNamesSortedWithoutRegardToCase) {
    FileListModel m(Upper);
    m.Assign({L"b.JPG", L"c.png", L"A.bmp", L"e.jpeg", L"Z.Bmp", L"a.jpg"},
             SplitMask(L"*.bmp;*.jpg"));
    EXPECT_EQ(Names(m), (std::vector<std::wstring>{L"A.bmp", L"a.jpg", L"b.JPG", L"Z.Bmp"}));
    m.Clear();
    EXPECT_TRUE(m.Empty());
}

TEST(FileListModel, FindsNamesAndPrefixesWithoutRegardToCase) {
    FileListModel m(Upper);
    m.Assign({L"image_00001.jpg", L"image_00002.bmp", L"Image_00010.jpg", L"other.jpg"},
             {L"*.jpg", L"*.bmp"});
    EXPECT_EQ(m.IndexOfName(L"IMAGE_00002.BMP"), 1);
    EXPECT_EQ(m.IndexOfName(L"image_00003.jpg"), -1);
    EXPECT_EQ(m.IndexOfName(L"image_00002"), -1);
    EXPECT_EQ(m.IndexOfPrefix(L"IMAGE_0001"), 2);
    EXPECT_EQ(m.IndexOfPrefix(L"o"), 3);
    EXPECT_EQ(m.IndexOfPrefix(L"p"), -1);
    EXPECT_EQ(m.IndexOfPrefix(L""), 0);
}

TEST(FileListModel, FoldedLookupsGiveTheSameAnswerInAnyOrderWithOrWithoutAPlace) {
    FileListModel m(Upper);
    m.Assign({L"image_00001.jpg", L"image_00002.png", L"image_00004.jpg", L"x.jpg"},
             SplitMask(L"*.jpg;*.png"));
    // In the list's order, against it, with gaps and misses: each answer is the plain one.
    const wchar_t* asked[] = {L"IMAGE_00001.JPG",
                              L"IMAGE_00002.JPG",
                              L"IMAGE_00002.PNG",
                              L"IMAGE_00003.JPG",
                              L"IMAGE_00004.JPG",
                              L"X.JPG",
                              L"IMAGE_00001.JPG",
                              L"X.JPG",
                              L"IMAGE_00004.JPG",
                              L"X.JP",
                              L"",
                              L"IMAGE_00001.JPG"};
    size_t next = 0;
    std::vector<bool> near, plain;
    for (const wchar_t* name : asked) {
        near.push_back(m.ContainsFolded(name, &next));
        plain.push_back(m.ContainsFolded(name));
    }
    EXPECT_EQ(near, plain);
    EXPECT_EQ(plain, (std::vector<bool>{true, false, true, false, true, true, true, true, true,
                                        false, false, true}));
    // A place past the end, as one kept from a longer list, is only a hint.
    next = 99;
    EXPECT_TRUE(m.ContainsFolded(L"X.JPG", &next));
    EXPECT_EQ(next, 4u);
    m.Clear();
    EXPECT_FALSE(m.ContainsFolded(L"X.JPG", &next));
}

TEST(FileListModel, ChangeRecordsBringTheNamesTheyMentionUpToDateWithTheFolder) {
    FileListModel m(Upper);
    m.Assign({L"a.jpg", L"c.jpg", L"e.jpg"}, SplitMask(L"*.jpg;*.bmp"));
    // What the folder holds now, as its own spelling of each name.
    std::vector<std::wstring> disk{L"a.jpg", L"B.bmp", L"d.JPG", L"e.jpg", L"notes.txt"};
    auto listed = [&](const std::wstring& name) -> std::optional<std::wstring> {
        for (const auto& n : disk)
            if (Upper(n) == Upper(name))
                return n;
        return std::nullopt;
    };
    // c.jpg renamed to d.JPG, B.bmp and notes.txt added, a.jpg's record lost its case, and a
    // name mentioned twice: each ends as the folder has it, the edits in order.
    const std::vector<std::wstring> records{L"c.jpg",     L"d.JPG", L"B.bmp",
                                            L"notes.txt", L"A.JPG", L"d.JPG"};
    auto edits = m.Update(records, listed);
    EXPECT_EQ(Names(m), (std::vector<std::wstring>{L"a.jpg", L"B.bmp", L"d.JPG", L"e.jpg"}));
    EXPECT_EQ(edits, (std::vector<FileListModel::Edit>{
                         {false, 1, L"c.jpg"}, {true, 1, L"d.JPG"}, {true, 1, L"B.bmp"}}));
    // Records that came late, or for names already as they are, change nothing.
    EXPECT_TRUE(m.Update(records, listed).empty());
    // A rename that changes only the letter case lists the new spelling in place of the old.
    disk[0] = L"A.jpg";
    EXPECT_EQ(m.Update(std::vector<std::wstring>{L"a.jpg", L"A.jpg"}, listed),
              (std::vector<FileListModel::Edit>{{false, 0, L"a.jpg"}, {true, 0, L"A.jpg"}}));
    // The program's own photo goes in its place, once; and out again.
    EXPECT_EQ(m.Insert(L"c.bmp"), 2u);
    EXPECT_EQ(m.Insert(L"C.BMP"), std::nullopt);
    EXPECT_EQ(m.Insert(L"c.png"), std::nullopt) << "not in the mask";
    EXPECT_TRUE(m.ContainsFolded(L"C.BMP"));
    EXPECT_EQ(m.Remove(L"C.bmp"), 2u);
    EXPECT_FALSE(m.ContainsFolded(L"C.BMP")) << "the lookup follows the edits";
    EXPECT_EQ(m.Remove(L"c.bmp"), std::nullopt);
}
