// Makes a file unreadable to this process while the object lives. Root reads
// any file whatever its mode, so as root the thread's file-system identity
// becomes an ordinary user's, which also drops root's permission override;
// the tree that holds the file is opened to others so that only the file
// itself stays shut.
#pragma once

#include <fcntl.h>
#include <string>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

class UnreadableFile {
public:
    static constexpr uid_t ordinaryUser = 65534;

    UnreadableFile(const std::string& file, const std::string& treeRoot) : file_(file)
    {
        chmod(file_.c_str(), 0);
        if (geteuid() == 0) {
            openTreeToOthers(treeRoot);
            setfsuid(ordinaryUser);
            switchedUser_ = true;
        }
    }
    ~UnreadableFile()
    {
        if (switchedUser_) setfsuid(0);
        chmod(file_.c_str(), 0644);
    }
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

    // False where neither way works (say, a root without a user switch), and
    // where the ordinary user could not reach the tree at all (a machine
    // whose /tmp is shut to others): the file alone must be what is shut.
    bool holds() const
    {
        struct stat folder {};
        if (stat(file_.substr(0, file_.rfind('/')).c_str(), &folder) != 0) return false;
        const int descriptor = open(file_.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) return true;
        close(descriptor);
        return false;
    }

private:
    // Every folder from the tree's root down to the file may be entered.
    void openTreeToOthers(const std::string& treeRoot)
    {
        std::string folder = file_.substr(0, file_.rfind('/'));
        while (folder.size() >= treeRoot.size()) {
            chmod(folder.c_str(), 0755);
            folder = folder.substr(0, folder.rfind('/'));
        }
    }

    std::string file_;
    bool switchedUser_ = false;
};
