#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
        EXPECT_EQ(parts.GetName(), c.name);
        EXPECT_EQ(parts.GetExtensionText(), c.extension);
        EXPECT_EQ(parts.GetLocation() + parts.GetFileName(), c.text);
    }
}

TEST(PathParts, LongPathsAreNotCut)
{
    const std::string folder = "/" + std::string(300, 'f') + "/";
    const std::string name = std::string(300, 'n') + ".jpg";
    CPathParts parts((folder + name).c_str());
    EXPECT_EQ(parts.GetLocation(), folder);
    EXPECT_EQ(parts.GetFileName(), name);
}

TEST(PathParts, AddBackSlash)
{
    EXPECT_EQ(AddBackSlash(""), "");
    EXPECT_EQ(AddBackSlash("/pics"), "/pics/");
    EXPECT_EQ(AddBackSlash("/pics/"), "/pics/");
    EXPECT_EQ(AddBackSlash("pics\\"), "pics\\/");
}

TEST(PathParts, FileSizeAndTimes)
{
    TempDir dir;
    const std::string big = dir / "big.jpg";
    {
        const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 5368709120LL), 0); // sparse: takes no room
        ::close(fd);
    }
    // 2003-04-25 23:09:00 UTC
    const struct timespec times[2] = {{1051312140, 0}, {1051312140, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, big.c_str(), times, 0), 0);

    CPathParts parts(big.c_str());
    int64_t size = -1;
    EXPECT_TRUE(parts.GetFileSize(size));
    EXPECT_EQ(size, 5368709120LL);
    CTime written;
    EXPECT_TRUE(parts.GetFileTime(written, PATH_TIME_LAST_WRITE));
    EXPECT_EQ(written.FormatGmt("%d-%m-%Y %I:%M %p"), "25-04-2003 11:09 PM");
    CTime accessed;
    EXPECT_TRUE(parts.GetFileTime(accessed, 7));
    EXPECT_EQ(accessed.GetTime(), 1051312140);

    // A folder, a FIFO and a missing file cannot be read: size 0, no time.
    ASSERT_EQ(::mkfifo((dir / "x.jpg").c_str(), 0644), 0);
    for (const std::string& path : {dir.path(), dir / "x.jpg", dir / "missing.jpg"}) {
        SCOPED_TRACE(path);
        CPathParts other(path.c_str());
        size = 99;
        EXPECT_FALSE(other.GetFileSize(size));
        EXPECT_EQ(size, 0);
        CTime time;
        EXPECT_FALSE(other.GetFileTime(time, PATH_TIME_LAST_WRITE));
        EXPECT_EQ(time.FormatGmt("%d-%m-%Y"), "");
    }
}

} // namespace
