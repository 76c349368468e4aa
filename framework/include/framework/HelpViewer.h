// Shows an HTML help file in a help window of its own.
#pragma once

#include <QString>

class QWidget;
class QTextBrowser;

namespace framework {

// Opens (or brings forward) the help window for `path`, owned by `owner`.
// When the file cannot be read the user is told so and nothing opens; the
// result is then null.
QTextBrowser* showHelpFile(QWidget* owner, const QString& path);

}  // namespace framework
