// What the programs see of the file system: regular files and real folders
// only, links never followed in a listing, the root however it is written,
// names as bytes, and lists read from files and streams.
#include "support/FolderTree.h"

#include "framework/FileSystem.h"
#include "framework/PathText.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <thread>

using namespace framework;

namespace {

std::vector<std::pair<std::string, bool>> sorted(const std::vector<FolderEntry>& entries)
{
    std::vector<std::pair<std::string, bool>> names;
    for (const FolderEntry& entry : entries) names.emplace_back(entry.name, entry.isFolder);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(FileSystem, ListingKeepsRegularFilesAndRealFoldersOnly)
{
    FolderTree outside;
    const std::string secret = outside.file("secret.txt");
    FolderTree tree;
    tree.file("plain.txt");
    tree.file(".dotfile");
    tree.folder(".dotfolder");
    tree.folder("sub");
    tree.link("to-file", secret);
    tree.link("to-folder", outside.path());
    tree.link("dangling", tree.at("nothing"));
    tree.pipe("pipe");
    tree.socket("socket");

    const auto entries = listFolder(tree.path());
    ASSERT_TRUE(entries);
    const std::vector<std::pair<std::string, bool>> expected{
        {".dotfile", false}, {".dotfolder", true}, {"plain.txt", false}, {"sub", true}};
    EXPECT_EQ(sorted(*entries), expected);

    EXPECT_FALSE(listFolder(tree.at("plain.txt")));
    EXPECT_FALSE(listFolder(tree.at("absent")));
    EXPECT_FALSE(listFolder(""));
}

TEST(FileSystem, NamesThatAreNoValidTextAreListedAndOpenedByTheirBytes)
{
    FolderTree tree;
    const std::string latin1File = tree.file("caf\xE9.txt");
    const std::string latin1Folder = tree.folder("r\xE9sum\xE9");
    tree.file("r\xE9sum\xE9/inner.txt");
    const auto entries = listFolder(tree.path());
    ASSERT_TRUE(entries);
    const std::vector<std::pair<std::string, bool>> expected{{"caf\xE9.txt", false}, {"r\xE9sum\xE9", true}};
    EXPECT_EQ(sorted(*entries), expected);
    EXPECT_TRUE(opensAsRegularFile(latin1File));
    EXPECT_TRUE(opensAsFolder(latin1Folder));
    EXPECT_EQ(resolvedPath(latin1Folder + "/./"), std::filesystem::canonical(latin1Folder).string());
}

TEST(FileSystem, OnlyRegularFilesOpenAsFilesAndOnlyFoldersAsFolders)
{
    FolderTree tree;
    const std::string file = tree.file("a.txt");
    EXPECT_TRUE(opensAsRegularFile(file));
    EXPECT_FALSE(opensAsFolder(file));
    EXPECT_TRUE(opensAsFolder(tree.path()));
    EXPECT_FALSE(opensAsRegularFile(tree.path()));        // a directory is never a file
    EXPECT_FALSE(opensAsRegularFile(tree.pipe("pipe")));  // never opened, so never waited on
    EXPECT_FALSE(opensAsRegularFile(tree.socket("socket")));
    EXPECT_FALSE(opensAsRegularFile("/dev/null"));
    EXPECT_FALSE(opensAsRegularFile(""));
    EXPECT_FALSE(opensAsFolder(""));
    // A link the caller names itself stands for what it points to.
    EXPECT_TRUE(opensAsRegularFile(tree.link("link", file)));
    EXPECT_TRUE(opensAsFolder(tree.link("folder-link", tree.folder("sub"))));
}

TEST(FileSystem, RootAndResolvedPaths)
{
    for (const char* root : {"/", "//", "/.", "/tmp/..", "/./"}) EXPECT_TRUE(isFileSystemRoot(root)) << root;
    FolderTree tree;
    EXPECT_TRUE(isFileSystemRoot(tree.link("to-root", "/")));
    EXPECT_FALSE(isFileSystemRoot("/tmp"));
    EXPECT_FALSE(isFileSystemRoot(""));

    const std::string sub = tree.folder("sub");
    const std::string canonical = std::filesystem::canonical(sub).string();
    EXPECT_EQ(resolvedPath(tree.path() + "//sub/./"), canonical);
    EXPECT_EQ(resolvedPath(tree.link("link", sub)), canonical);
    EXPECT_EQ(resolvedPath(tree.at("absent")), "");
}

TEST(FileSystem, StreamsAreReadToTheirEndButFoldersAreNoStreams)
{
    FolderTree tree;
    EXPECT_EQ(readStream(tree.file("list.txt", "a\nb\n")), "a\nb\n");
    EXPECT_EQ(readStream(tree.file("empty.txt", "")), "");
    EXPECT_EQ(readStream(tree.path()), std::nullopt);
    EXPECT_EQ(readStream(tree.at("absent")), std::nullopt);
    EXPECT_EQ(readStream(""), std::nullopt);

    // A named pipe, written by another thread in several pieces, longer than
    // one read.
    const std::string pipe = tree.pipe("pipe");
    const std::string content = std::string(100000, 'x') + "\nlast";
    std::thread writer([&] {
        FILE* stream = std::fopen(pipe.c_str(), "w");
        ASSERT_NE(stream, nullptr);
        std::fwrite(content.data(), 1, content.size(), stream);
        std::fclose(stream);
    });
    EXPECT_EQ(readStream(pipe), content);
    writer.join();
}

TEST(FileSystem, OnlyRegularFilesAreRemoved)
{
    FolderTree tree;
    const std::string file = tree.file("list.txt");
    const std::string pipe = tree.pipe("pipe");
    const std::string folder = tree.folder("folder");
    EXPECT_FALSE(removeRegularFile(pipe));
    EXPECT_FALSE(removeRegularFile(folder));
    EXPECT_FALSE(removeRegularFile("/dev/null"));
    EXPECT_TRUE(std::filesystem::exists(pipe));
    EXPECT_TRUE(std::filesystem::exists(folder));
    EXPECT_TRUE(removeRegularFile(file));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(PathText, ValidTextIsShownAsItIsAndEveryOtherByteVisibly)
{
    EXPECT_EQ(displayPath("/home/ann/r\xC3\xA9sum\xC3\xA9.txt"), QString::fromUtf8("/home/ann/r\u00e9sum\u00e9.txt"));
    EXPECT_EQ(displayPath("/tmp/caf\xE9.txt"), "/tmp/caf\\xE9.txt");
    // Two names that differ only in undecodable bytes never look alike.
    EXPECT_NE(displayPath("/a\xE9"), displayPath("/a\xE8"));
    // Control characters would break the line a name is shown on.
    EXPECT_EQ(displayPath(std::string("a\nb\tc\x7F", 6)), "a\\x0Ab\\x09c\\x7F");
    // Ill-formed sequences: a cut-off sequence, an overlong form, a surrogate.
    EXPECT_EQ(displayPath("x\xC3"), "x\\xC3");
    EXPECT_EQ(displayPath("\xC0\xAF"), "\\xC0\\xAF");
    EXPECT_EQ(displayPath("\xED\xA0\x80"), "\\xED\\xA0\\x80");
    EXPECT_EQ(displayPath("\xF0\x9F\x94\x91"), QString::fromUtf8("\U0001F511"));
    EXPECT_EQ(pathFromText(QString::fromUtf8("/r\u00e9sum\u00e9")), "/r\xC3\xA9sum\xC3\xA9");
}
