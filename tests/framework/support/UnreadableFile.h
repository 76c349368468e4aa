// Makes a file unreadable to this process while the object lives. Root reads
// any file whatever its mode, so as root the thread's file-system identity
// becomes an ordinary user's, which also drops root's permission override;
// the tree that holds the file is opened to others so that only the file
// itself stays shut.
#pragma once

#include <QFile>
#include <QString>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

class UnreadableFile {
public:
    static constexpr uid_t ordinaryUser = 65534;

    UnreadableFile(const QString& file, const QString& treeRoot) : file_(QFile::encodeName(file))
    {
        chmod(file_.constData(), 0);
        if (geteuid() == 0) {
            openTreeToOthers(QFile::encodeName(treeRoot));
            setfsuid(ordinaryUser);
            switchedUser_ = true;
        }
    }
    ~UnreadableFile()
    {
        if (switchedUser_) setfsuid(0);
        chmod(file_.constData(), 0644);
    }
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

    // False where neither way works (say, a root without a user switch).
    bool holds() const
    {
        QFile file(QFile::decodeName(file_));
        return !file.open(QIODevice::ReadOnly);
    }

private:
    // Every folder from the tree's root down to the file may be entered.
    void openTreeToOthers(const QByteArray& treeRoot)
    {
        QByteArray folder = file_.left(file_.lastIndexOf('/'));
        while (folder.size() >= treeRoot.size()) {
            chmod(folder.constData(), 0755);
            folder = folder.left(folder.lastIndexOf('/'));
        }
    }

    QByteArray file_;
    bool switchedUser_ = false;
};
