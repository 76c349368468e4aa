// What the programs see of the file system: regular files and real folders
// only, links never followed in a listing, the root however it is written.
#include "support/FolderTree.h"

#include "framework/FileSystem.h"

#include <algorithm>

using namespace framework;

namespace {

std::vector<std::pair<QString, bool>> sorted(const std::vector<FolderEntry>& entries)
{
    std::vector<std::pair<QString, bool>> names;
    for (const FolderEntry& entry : entries) names.emplace_back(entry.name, entry.isFolder);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(FileSystem, ListingKeepsRegularFilesAndRealFoldersOnly)
{
    FolderTree outside;
    const QString secret = outside.file("secret.txt");
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
    const std::vector<std::pair<QString, bool>> expected{
        {".dotfile", false}, {".dotfolder", true}, {"plain.txt", false}, {"sub", true}};
    EXPECT_EQ(sorted(*entries), expected);

    EXPECT_FALSE(listFolder(tree.at("plain.txt")));
    EXPECT_FALSE(listFolder(tree.at("absent")));
    EXPECT_FALSE(listFolder(QString()));
}

TEST(FileSystem, OnlyRegularFilesOpenAsFilesAndOnlyFoldersAsFolders)
{
    FolderTree tree;
    const QString file = tree.file("a.txt");
    EXPECT_TRUE(opensAsRegularFile(file));
    EXPECT_FALSE(opensAsFolder(file));
    EXPECT_TRUE(opensAsFolder(tree.path()));
    EXPECT_FALSE(opensAsRegularFile(tree.path()));  // a directory is never a file
    EXPECT_FALSE(opensAsRegularFile(tree.pipe("pipe")));  // never opened, so never waited on
    EXPECT_FALSE(opensAsRegularFile(tree.socket("socket")));
    EXPECT_FALSE(opensAsRegularFile("/dev/null"));
    EXPECT_FALSE(opensAsRegularFile(QString()));
    EXPECT_FALSE(opensAsFolder(QString()));
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

    const QString sub = tree.folder("sub");
    const QString canonical = QFileInfo(sub).canonicalFilePath();
    EXPECT_EQ(resolvedPath(tree.path() + "//sub/./"), canonical);
    EXPECT_EQ(resolvedPath(tree.link("link", sub)), canonical);
    EXPECT_EQ(resolvedPath(tree.at("absent")), "");
}
