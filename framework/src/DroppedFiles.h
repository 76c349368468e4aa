// Drops of local files, as the frame and the dialogs take them.
#pragma once

class QDragEnterEvent;
class QDropEvent;

namespace framework {

class Dialog;

// Accepts a drag that carries local files.
void acceptFileDrag(QDragEnterEvent* event);

// Hands the local files of a drop to `dialog`; a drop without any is left alone.
void deliverFileDrop(QDropEvent* event, Dialog& dialog);

}  // namespace framework
