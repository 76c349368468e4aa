// File names are bytes; the user sees and types text. A path becomes text only
// to be shown, and text becomes a path only when the user typed or picked it.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace framework {

// The path as the user sees it. Bytes that are not valid UTF-8, and control
// characters, are shown as \xHH escapes: never dropped, never merged into one
// replacement mark, so two different names never look alike.
QString displayPath(std::string_view path);

// The bytes of a path the user typed.
std::string pathFromText(const QString& text);

// The bytes of a whole path the user picked in a file dialog, which hands
// names back as text and so cannot give back a name that is not valid text.
// Such a name is found again in its folder as the one entry that shows as
// the picked text. When none or several do, the path is the text's own
// bytes, which name nothing: a later open then says so.
std::string pathFromPickedText(const QString& picked);

}  // namespace framework
