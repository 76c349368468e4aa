// The parts of a path, the three safety refusals and the forms of the
// target list, on real folders.
#include "support/FolderTree.h"

#include "app/InstallLayout.h"
#include "core/FileSystem.h"
#include "core/FolderSafety.h"
#include "core/Paths.h"
#include "core/TargetFiles.h"

#include "framework/Platform.h"

using services::BuildVariant;
using services::variantTexts;

TEST(Paths, NameAndFolderParts)
{
    FolderTree tree;
    const std::string out = tree.folder("out");
    EXPECT_EQ(fileNamePart(out + "/a.txt"), "a.txt");
    EXPECT_EQ(fileNamePart("a.txt"), "a.txt");
    EXPECT_EQ(fileNamePart(out + "/"), "");
    // A folder and a file inside it name the same folder.
    EXPECT_EQ(folderPart(out), out);
    EXPECT_EQ(folderPart(tree.file("out/a.txt")), out);
    EXPECT_EQ(folderPart(out + "/absent.txt"), out);
    EXPECT_EQ(folderPart("/"), "");
    EXPECT_EQ(folderPart("name"), "name");
    EXPECT_EQ(framework::ensureTrailingSeparator(""), "/");
}

TEST(FolderSafety, SystemFolderIsRefusedWhenContainedInTheSameCaseOrEqualInAnyCase)
{
    FolderTree tree;
    const GuardedFolders guarded{{tree.folder("SYS")}, ""};
    tree.folder("SYS/TEMP");
    EXPECT_EQ(checkFolderSafety(tree.at("SYS/TEMP"), guarded), RefusalKind::SystemFolder);
    EXPECT_EQ(checkFolderSafety(tree.at("sys"), guarded), RefusalKind::SystemFolder);
    EXPECT_EQ(checkFolderSafety(tree.at("sys/temp"), guarded), std::nullopt);
    EXPECT_EQ(checkFolderSafety(tree.path(), guarded), std::nullopt);
    // A folder whose name merely begins like the system folder's is not in it.
    EXPECT_EQ(checkFolderSafety(tree.folder("SYS-notes"), guarded), std::nullopt);
    // A link is judged by where it leads too.
    EXPECT_EQ(checkFolderSafety(tree.link("innocent", tree.at("SYS")), guarded), RefusalKind::SystemFolder);
    // Without a known system folder nothing may be expanded.
    EXPECT_EQ(checkFolderSafety(tree.path(), GuardedFolders{}), RefusalKind::SystemFolder);
}

TEST(FolderSafety, ProgramFolderIsRefusedHoweverItIsWritten)
{
    FolderTree tree;
    const std::string program = tree.folder("Opt/Tarvex");
    const GuardedFolders guarded{{"/usr"}, program};
    EXPECT_EQ(checkFolderSafety(program, guarded), RefusalKind::ProgramFolder);
    EXPECT_EQ(checkFolderSafety(QString::fromStdString(program).toLower().toStdString(), guarded),
              RefusalKind::ProgramFolder);
    EXPECT_EQ(checkFolderSafety(program + "/", guarded), RefusalKind::ProgramFolder);
    EXPECT_EQ(checkFolderSafety(tree.at("Opt/./Tarvex"), guarded), RefusalKind::ProgramFolder);
    EXPECT_EQ(checkFolderSafety(tree.link("shortcut", program), guarded), RefusalKind::ProgramFolder);
    EXPECT_EQ(checkFolderSafety(tree.at("Opt"), guarded), std::nullopt);
    EXPECT_EQ(checkFolderSafety(program, GuardedFolders{{"/usr"}, ""}), std::nullopt);
}

TEST(FolderSafety, RootIsRefusedHoweverItIsWritten)
{
    FolderTree tree;
    const GuardedFolders guarded{{"/usr"}, "/opt/tarvex"};
    for (const std::string& root : {std::string("/"), std::string("//"), std::string("/tmp/.."), tree.link("up", "/")})
        EXPECT_EQ(checkFolderSafety(root, guarded), RefusalKind::FileSystemRoot) << root;
    EXPECT_EQ(checkFolderSafety("/tmp", guarded), std::nullopt);
    EXPECT_EQ(checkFolderSafety("/usr/..", guarded), RefusalKind::SystemFolder);  // written as below /usr
}

TEST(FolderSafety, EverySystemFolderAndWhatLiesBelowIsRefusedButMountsAndHomesAreNot)
{
    const GuardedFolders guarded{framework::systemFolders(), "/opt/tarvex"};
    for (const char* folder :
         {"/usr",   "/etc",       "/boot",         "/bin",       "/sbin",      "/lib", "/lib32",
          "/lib64", "/libx32",    "/opt",          "/var",       "/proc",      "/sys", "/dev",
          "/etc/",  "/boot/grub", "/var/lib/dpkg", "/usr/share", "/proc/self", "/ETC", "/etc/../etc/ssh"})
        EXPECT_EQ(checkFolderSafety(folder, guarded), RefusalKind::SystemFolder) << folder;
    // Removable drives and the users' own folders stay the user's.
    for (const char* folder : {"/media", "/media/ann/stick", "/mnt", "/mnt/backup", "/run/media", "/run/media/ann/disk",
                               "/home", "/home/ann", "/root", "/tmp", "/srv", "/etcetera", "/variable"})
        EXPECT_EQ(checkFolderSafety(folder, guarded), std::nullopt) << folder;
    // Led there by a link, or written relative to the root.
    FolderTree tree;
    EXPECT_EQ(checkFolderSafety(tree.link("config", "/etc"), guarded), RefusalKind::SystemFolder);
    const WorkingDirectoryGuard restored;
    std::filesystem::current_path("/");
    EXPECT_EQ(checkFolderSafety("etc", guarded), RefusalKind::SystemFolder);
    EXPECT_EQ(checkFolderSafety("./boot/", guarded), RefusalKind::SystemFolder);
}

TEST(FolderSafety, RefusalTextsOfBothPrograms)
{
    const auto& sealwin = variantTexts(BuildVariant::Encrypt);
    const auto& unsealwin = variantTexts(BuildVariant::Decrypt);
    EXPECT_EQ(refusalText(RefusalKind::SystemFolder, sealwin),
              "This is the Windows folder.\n\nPermission to encrypt it is denied.");
    EXPECT_EQ(refusalText(RefusalKind::ProgramFolder, sealwin),
              "Tarvex is stored in this folder.\n\nPermission to encrypt it is denied.");
    EXPECT_EQ(refusalText(RefusalKind::FileSystemRoot, sealwin),
              "This is the root on the system disk.\n\nPermission to encrypt it is denied");
    EXPECT_EQ(refusalText(RefusalKind::FileSystemRoot, unsealwin),
              "This is the root on the system disk.\n\nPermission to decrypt it is denied");
}

TEST(TargetFiles, DirectoryFormIsTheMarkerAndTheFolderWithItsSeparator)
{
    services::StringList targets;
    targets.add("/old/target");
    setTargetDirectory(targets, "/out");
    ASSERT_EQ(targets.count(), 2);
    EXPECT_EQ(targets.getAt(0), "TARGET_DIRECTORY");
    EXPECT_EQ(targets.getAt(1), "/out/");
    EXPECT_EQ(targetDirectory(targets), "/out/");
    setTargetDirectory(targets, "/out/");
    EXPECT_EQ(targets.getAt(1), "/out/");

    services::StringList perFile;
    EXPECT_EQ(targetDirectory(perFile), std::nullopt);
    perFile.add("");
    EXPECT_EQ(targetDirectory(perFile), std::nullopt);
    perFile.add("/out/");  // a marker is only a marker in first place
    EXPECT_EQ(targetDirectory(perFile), std::nullopt);
}

TEST(InstallLayout, HelpIsBesideTheProgramInTheBuildFolderOrInTheInstalledDataFolder)
{
    FolderTree tree;
    const std::string bin = tree.folder("prefix/bin");
    // The installed tree keeps its data beside bin, never inside it.
    EXPECT_EQ(installedDataFolder(bin).rfind(bin + "/../", 0), 0u) << installedDataFolder(bin);
    EXPECT_EQ(helpFilePath(bin, "sealwin.html"), installedDataFolder(bin) + "/help/sealwin.html");
    const std::string beside = tree.file("prefix/bin/sealwin.html");
    EXPECT_EQ(helpFilePath(bin, "sealwin.html"), beside);
    EXPECT_EQ(helpFilePath(bin, "unsealwin.html"), installedDataFolder(bin) + "/help/unsealwin.html");
    tree.folder("prefix/bin/unsealwin.html");  // a folder is no help file
    EXPECT_EQ(helpFilePath(bin, "unsealwin.html"), installedDataFolder(bin) + "/help/unsealwin.html");
}
