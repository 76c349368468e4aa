#include "framework/DialogTemplate.h"

#include <QStringList>

#include <map>

namespace framework {

int horizontalDialogUnitsToPixels(int units) { return units * 6 / 4; }
int verticalDialogUnitsToPixels(int units) { return units * 13 / 8; }

QRect dialogUnitsToPixels(const QRect& units)
{
    return {horizontalDialogUnitsToPixels(units.x()), verticalDialogUnitsToPixels(units.y()),
            horizontalDialogUnitsToPixels(units.width()), verticalDialogUnitsToPixels(units.height())};
}

namespace {

const std::map<QString, ControlKind>& kindNames()
{
    static const std::map<QString, ControlKind> names{
        {"label", ControlKind::Label},
        {"centredlabel", ControlKind::CentredLabel},
        {"etchedframe", ControlKind::EtchedFrame},
        {"edit", ControlKind::Edit},
        {"passwordedit", ControlKind::PasswordEdit},
        {"groupbox", ControlKind::GroupBox},
        {"checkbox", ControlKind::CheckBox},
        {"pushbutton", ControlKind::PushButton},
        {"defaultpushbutton", ControlKind::DefaultPushButton},
        {"progressbar", ControlKind::ProgressBar},
        {"wrappedlabel", ControlKind::WrappedLabel},
        {"listbox", ControlKind::ListBox},
        {"picture", ControlKind::Picture},
    };
    return names;
}

// Splits a line into words; a quoted word keeps its blanks and loses its quotes.
std::optional<QStringList> splitWords(const QString& line)
{
    QStringList words;
    int i = 0;
    const int n = static_cast<int>(line.size());
    while (i < n) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        QString word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < n) {
                    const QChar escaped = line[i++];
                    word += escaped == 'n' ? QChar('\n') : escaped;
                } else {
                    word += c;
                }
            }
            if (!closed) return std::nullopt;
        } else {
            while (i < n && !line[i].isSpace()) word += line[i++];
        }
        words << word;
    }
    return words;
}

std::optional<int> toInt(const QString& word)
{
    bool ok = false;
    const int value = word.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(const QString& text, QString* error)
{
    auto fail = [error](int lineNumber, const QString& why) -> std::optional<DialogTemplate> {
        if (error) *error = QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
        return std::nullopt;
    };
    DialogTemplate result;
    bool haveHeader = false;
    const QStringList lines = text.split('\n');
    for (int index = 0; index < lines.size(); ++index) {
        const int lineNumber = index + 1;
        const QString line = lines[index].trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const auto words = splitWords(line);
        if (!words) return fail(lineNumber, "unclosed quote");
        const QStringList& w = *words;
        if (w[0] == "DIALOG") {
            if (haveHeader) return fail(lineNumber, "second DIALOG line");
            if (w.size() < 5) return fail(lineNumber, "DIALOG needs name, size and caption");
            const auto width = toInt(w[2]);
            const auto height = toInt(w[3]);
            if (!width || !height) return fail(lineNumber, "bad dialog size");
            QStringList options;
            for (const QString& option : w.mid(5)) {
                if (option != "drops" && option != "nosysmenu")
                    return fail(lineNumber, "unknown dialog option " + option);
                if (options.contains(option)) return fail(lineNumber, "dialog option " + option + " given twice");
                options << option;
            }
            result.name = w[1];
            result.widthUnits = *width;
            result.heightUnits = *height;
            result.caption = w[4];
            result.acceptsDrops = options.contains("drops");
            result.hasSystemMenu = !options.contains("nosysmenu");
            haveHeader = true;
        } else if (w[0] == "CONTROL") {
            if (!haveHeader) return fail(lineNumber, "CONTROL before DIALOG");
            if (w.size() != 8) return fail(lineNumber, "CONTROL needs id, kind, caption and four numbers");
            const auto kind = kindNames().find(w[2].toLower());
            if (kind == kindNames().end()) return fail(lineNumber, "unknown control kind " + w[2]);
            const auto id = toInt(w[1]);
            const auto left = toInt(w[4]);
            const auto top = toInt(w[5]);
            const auto width = toInt(w[6]);
            const auto height = toInt(w[7]);
            if (!id || !left || !top || !width || !height) return fail(lineNumber, "bad number");
            if (kind->second == ControlKind::Picture && !toInt(w[3]))
                return fail(lineNumber, "a picture's caption must be its bitmap number");
            result.controls.push_back({*id, kind->second, w[3], QRect(*left, *top, *width, *height)});
        } else {
            return fail(lineNumber, "unknown line " + w[0]);
        }
    }
    if (!haveHeader) return fail(static_cast<int>(lines.size()), "no DIALOG line");
    return result;
}

}  // namespace framework
