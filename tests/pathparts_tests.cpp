

#include "platform/file.h"
#include "search/pathparts.h"
#include "testkit.h"

namespace {

struct SplitCase {
    const char* text;
    const char* folder;
    const char* name;
    const char* extension;
};

// Whatever the name, folder + file name gives back the exact bytes found.
TEST(PathParts, SplitsAndJoinsBackToTheSameBytes)
{
    const SplitCase cases[] = {
        {"/pics/2003/img.0001.jpg", "/pics/2003/", "img.0001", "jpg"},
        {"pic.jpg", "", "pic", "jpg"},
        {"/pics/sub/", "/pics/sub/", "", ""},
        {"/pics/README", "/pics/", "README", ""},
        {"/pics/file.", "/pics/", "file.", ""},
        {"/pics/file..", "/pics/", "file..", ""},
        {"/pics/a..jpg", "/pics/", "a.", "jpg"},
        {"/pics/.jpg", "/pics/", ".jpg", ""},
        {"/my.pics/photo", "/my.pics/", "photo", ""},
        {"\"/my pics/a.jpg\"", "\"/my pics/", "a", "jpg\""},
        {"/pics/back\\slash.jpg", "/pics/", "back\\slash", "jpg"},
        {"/pics/\xff\xfe.\xe9", "/pics/", "\xff\xfe", "\xe9"},
        {"\"", "", "\"", ""},
        {"", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.text);
        CPathParts parts(c.text);
        EXPECT_EQ(parts.GetLocation(), c.folder);
        const std::string extension = *c.extension ? std::string(".") + c.extension : "";
        EXPECT_EQ(parts.GetExtension(), extension);
        EXPECT_EQ(parts.GetFileName(), c.name + extension);
        EXPECT_EQ(parts.GetPath(), c.text);
    }
}

TEST(FileInformation, SizeAndTimesOfRegularFilesOnly)
{
    TempDir dir;
    const std::string big = dir / "big.jpg";
    WriteFile(big, {});
    std::filesystem::resize_file(big, 5368709120LL); // sparse: takes no room
    SetModified(big, 1051312140); // 2003-04-25 23:09:00 UTC

    CFileInformation info;
    EXPECT_TRUE(GetFileInformation(big, info));
    EXPECT_EQ(info.nSize, 5368709120LL);
    EXPECT_EQ(info.tLastWrite.GetTime(), 1051312140);

    // A folder and a missing file cannot be read: size 0, no time.
    for (const std::string& path : {dir.path(), dir / "missing.jpg"}) {
        info.nSize = 99;
        EXPECT_FALSE(GetFileInformation(path, info)) << path;
        EXPECT_EQ(info.nSize, 0);
        EXPECT_FALSE(info.tLastWrite.IsValid());
    }
}

} // namespace
