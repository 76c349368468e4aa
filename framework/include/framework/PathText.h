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

}  // namespace framework
