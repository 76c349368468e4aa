// The local files that a drag carries, as the frame and the dialogs read them.
#pragma once

#include <QStringList>

class QMimeData;

namespace framework {

// The paths of the local files in a drag, in the order they were dragged;
// anything else the drag carries is left out.
QStringList droppedFiles(const QMimeData* mime);

}  // namespace framework
