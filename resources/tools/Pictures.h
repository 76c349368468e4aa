// What the programs' pictures and the desktop icons are made of: the padlock
// and the batch file's sheet, as scenes both back ends can render.
#pragma once

#include "Scene.h"

#include <QString>

#include <vector>

namespace pictures {

struct Palette {
    QColor body;
    QColor accent;
};

extern const Palette sealPalette;
extern const Palette unsealPalette;

// The window pictures use the defaults; icons thicken lines with their size
// and, when hinted, put edges on whole pixels so small icons stay crisp.
struct PadlockStyle {
    double outline = 1.5;  // the body's outline
    double rim = 0;        // a dark edge round the shackle, 0 for none
    QColor steel{0x9a, 0xa4, 0xae};
    bool shine = true;           // the light streak along the shackle
    bool hinted = false;         // body, legs and keyhole on whole pixels
    bool simpleKeyhole = false;  // a slot only, for icons too small for the round top
};

// openness 0: shackle home in the body; 1: lifted and swung clear. glow
// lights the box behind the lock in the accent colour.
Scene padlock(const QRectF& box, double openness, const Palette& palette, double glow, const PadlockStyle& style = {});

enum class DesktopIcon { Sealwin, Unsealwin, BatchFile };

struct DesktopIconFile {
    DesktopIcon icon;
    QString context;  // the icon theme's folder: apps or mimetypes
    QString name;
};

// Every desktop icon, the sizes each is drawn at, and the size whose geometry
// the scalable icon takes (it is drawn at full detail and never hinted).
const std::vector<DesktopIconFile>& desktopIconFiles();
const std::vector<int>& desktopIconSizes();
constexpr int scalableIconSize = 256;

// The icon on a transparent square of size pixels.
Scene desktopIcon(DesktopIcon icon, int size, bool hinted);

}  // namespace pictures
