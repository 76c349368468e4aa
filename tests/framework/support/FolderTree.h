// Builds file trees in a temporary folder for tests: files, folders, links,
// pipes and sockets.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

class FolderTree {
public:
    FolderTree() { EXPECT_TRUE(root_.isValid()); }

    QString path() const { return root_.path(); }
    QString at(const QString& relative) const { return root_.path() + '/' + relative; }

    QString file(const QString& relative, const QByteArray& content = "data") const
    {
        const QString full = at(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile created(full);
        EXPECT_TRUE(created.open(QIODevice::WriteOnly)) << full.toStdString();
        created.write(content);
        return full;
    }
    QString folder(const QString& relative) const
    {
        const QString full = at(relative);
        EXPECT_TRUE(QDir().mkpath(full));
        return full;
    }
    QString link(const QString& relative, const QString& target) const
    {
        const QString full = at(relative);
        EXPECT_EQ(symlink(QFile::encodeName(target).constData(), QFile::encodeName(full).constData()), 0);
        return full;
    }
    QString pipe(const QString& relative) const
    {
        const QString full = at(relative);
        EXPECT_EQ(mkfifo(QFile::encodeName(full).constData(), 0644), 0);
        return full;
    }
    // A socket bound to a name in the tree; it stays open until the
    // tree goes.
    QString socket(const QString& relative)
    {
        const QString full = at(relative);
        const QByteArray name = QFile::encodeName(full);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        EXPECT_LT(static_cast<size_t>(name.size()), sizeof(address.sun_path));
        std::memcpy(address.sun_path, name.constData(), std::min(sizeof(address.sun_path) - 1, size_t(name.size())));
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        sockets_.push_back(descriptor);
        return full;
    }
    ~FolderTree()
    {
        for (const int descriptor : sockets_) close(descriptor);
    }
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

private:
    QTemporaryDir root_{"/tmp/tarvex-XXXXXX"};
    std::vector<int> sockets_;
};
