// Shows an HTML help file in a help window of its own.
#pragma once

#include <QString>

#include <string>

class QWidget;
class QTextBrowser;

namespace framework {

// Opens (or brings forward) the help window for `path`, owned by `owner`.
// Its title is the page's own, followed by `version` (the program's name and
// version, where users look for them). When the file cannot be read the user
// is told so and nothing opens; the result is then null.
QTextBrowser* showHelpFile(QWidget* owner, const std::string& path, const QString& version = {});

}  // namespace framework
