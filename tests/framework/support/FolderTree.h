// Builds file trees in a temporary folder for tests: files, folders, links,
// pipes and sockets. Names are bytes, as the file system keeps them, so a test
// can make names that are no valid text.
#pragma once

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

class FolderTree {
public:
    FolderTree() { EXPECT_TRUE(root_.isValid()); }

    std::string path() const { return root_.path().toStdString(); }
    std::string at(const std::string& relative) const { return path() + '/' + relative; }

    std::string file(const std::string& relative, const std::string& content = "data") const
    {
        const std::string full = at(relative);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        const int descriptor = open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        EXPECT_GE(descriptor, 0) << full;
        if (descriptor >= 0) {
            EXPECT_EQ(write(descriptor, content.data(), content.size()), static_cast<ssize_t>(content.size()));
            close(descriptor);
        }
        return full;
    }
    std::string folder(const std::string& relative) const
    {
        const std::string full = at(relative);
        std::error_code error;
        std::filesystem::create_directories(full, error);
        EXPECT_FALSE(error) << full;
        return full;
    }
    std::string link(const std::string& relative, const std::string& target) const
    {
        const std::string full = at(relative);
        EXPECT_EQ(symlink(target.c_str(), full.c_str()), 0);
        return full;
    }
    std::string pipe(const std::string& relative) const
    {
        const std::string full = at(relative);
        EXPECT_EQ(mkfifo(full.c_str(), 0644), 0);
        return full;
    }
    // A socket bound to a name in the tree; it stays open until the
    // tree goes.
    std::string socket(const std::string& relative)
    {
        const std::string full = at(relative);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        EXPECT_LT(full.size(), sizeof(address.sun_path));
        std::memcpy(address.sun_path, full.data(), std::min(sizeof(address.sun_path) - 1, full.size()));
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        sockets_.push_back(descriptor);
        return full;
    }
    ~FolderTree()
    {
        for (const int descriptor : sockets_) close(descriptor);
        // By the names' bytes: the temporary folder's own clean-up reads
        // names as text and leaves behind those that are not.
        std::error_code ignored;
        std::filesystem::remove_all(path(), ignored);
    }
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

private:
    QTemporaryDir root_{"/tmp/tarvex-XXXXXX"};
    std::vector<int> sockets_;
};

// Restores the working directory when the test leaves its scope, however it
// leaves it: a failed assertion returns early. A folder that cannot be
// entered again fails the test rather than ending the program.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() : previous_(std::filesystem::current_path()) {}
    ~WorkingDirectoryGuard()
    {
        std::error_code error;
        std::filesystem::current_path(previous_, error);
        EXPECT_FALSE(error) << "cannot return to " << previous_ << ": " << error.message();
    }
    WorkingDirectoryGuard(const WorkingDirectoryGuard&) = delete;
    WorkingDirectoryGuard& operator=(const WorkingDirectoryGuard&) = delete;

private:
    std::filesystem::path previous_;
};
