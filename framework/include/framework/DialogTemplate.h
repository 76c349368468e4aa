// Dialog templates: a dialog's controls described as data, positioned in
// dialog units, and the conversion of dialog units to pixels.
#pragma once

#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace framework {

enum class ControlKind {
    Label,         // static text, left aligned
    CentredLabel,  // static text, centred
    EtchedFrame,   // static etched rectangle; its caption is never shown
    Edit,          // single-line edit that scrolls horizontally
    PasswordEdit,  // as Edit, characters hidden
    GroupBox,
    CheckBox,  // auto check box
    PushButton,
    DefaultPushButton,
    ProgressBar,
    ListBox,       // entries one a line, scroll bars as needed
    Picture,       // a bitmap at its own size, top left; the caption is its id
    WrappedLabel,  // static text, left aligned, wrapped at word boundaries
};

struct ControlTemplate {
    int id = -1;  // -1: a control the code never addresses
    ControlKind kind = ControlKind::Label;
    QString caption;
    QRect dialogUnits;  // left, top, width, height in dialog units
};

struct DialogTemplate {
    QString name;
    QString caption;
    int widthUnits = 0;
    int heightUnits = 0;
    bool acceptsDrops = false;
    bool hasSystemMenu = true;  // false: the caption bar shows the title alone, without a close box
    std::vector<ControlTemplate> controls;
};

// Dialog units use the base units of an 8-point sans-serif font at 96 dpi.
int horizontalDialogUnitsToPixels(int units);
int verticalDialogUnitsToPixels(int units);
QRect dialogUnitsToPixels(const QRect& units);

// Parses the text form of a template:
//   DIALOG <name> <width> <height> "<caption>" [drops] [nosysmenu]
//   CONTROL <id> <kind> "<caption>" <left> <top> <width> <height>
// The options follow the caption in any order, each at most once. A picture's
// caption is the number of its bitmap.
// Lines starting with '#' and empty lines are ignored; inside a quoted caption
// \" and \\ and \n stand for a quote, a backslash and a line end.
// Returns nothing when the text is malformed; `error` then says where.
std::optional<DialogTemplate> parseDialogTemplate(const QString& text, QString* error = nullptr);

}  // namespace framework
