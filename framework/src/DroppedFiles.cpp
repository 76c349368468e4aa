#include "DroppedFiles.h"

#include "framework/Dialog.h"

#include <QDropEvent>
#include <QMimeData>
#include <QStringList>
#include <QUrl>

namespace framework {

namespace {

// The paths of the local files in a drag, in the order they were dragged;
// anything else the drag carries is left out.
QStringList droppedFiles(const QMimeData* mime)
{
    QStringList paths;
    if (!mime) return paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace

void acceptFileDrag(QDragEnterEvent* event)
{
    if (!droppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void deliverFileDrop(QDropEvent* event, Dialog& dialog)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    dialog.filesDropped(paths);
}

}  // namespace framework
