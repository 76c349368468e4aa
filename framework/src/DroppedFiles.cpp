#include "DroppedFiles.h"

#include "framework/Dialog.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <string>
#include <vector>

namespace framework {

namespace {

// The paths of the local files in a drag, in the order they were dragged;
// anything else the drag carries is left out. The path is taken from the
// URL's percent-encoded form, which carries the name's bytes exactly, also
// those that are no valid text.
std::vector<std::string> droppedFiles(const QMimeData* mime)
{
    std::vector<std::string> paths;
    if (!mime) return paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
        const QByteArray path = QByteArray::fromPercentEncoding(encoded);
        if (!path.isEmpty()) paths.push_back(path.toStdString());
    }
    return paths;
}

}  // namespace

void acceptFileDrag(QDragEnterEvent* event)
{
    if (!droppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void deliverFileDrop(QDropEvent* event, Dialog& dialog)
{
    const std::vector<std::string> paths = droppedFiles(event->mimeData());
    if (paths.empty()) return;
    event->acceptProposedAction();
    dialog.filesDropped(paths);
}

}  // namespace framework
