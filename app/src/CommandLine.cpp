#include "app/CommandLine.h"

#include "app/Paths.h"
#include "app/ProcessState.h"

#include <QFile>

namespace {

void addIfPath(const QString& path, ProcessState& state)
{
    if (isFilePath(path) || isFolderPath(path)) state.selectedFiles.add(path.toStdString());
}

// One path per line; '#' starts a comment line. Lines are taken whole, with a
// line end of "\n" or "\r\n", and the last line also without one.
bool readListFile(const QString& name, ProcessState& state)
{
    QFile file(name);
    if (!isFilePath(name) || !file.open(QIODevice::ReadOnly)) return false;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n')) line.chop(1);
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith('#')) continue;
        addIfPath(QString::fromLocal8Bit(line), state);
    }
    return true;
}

}  // namespace

CommandLineResult readCommandLine(const QStringList& arguments, ProcessState& state)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "/b" || argument == "/B") {
            state.options.useStoredOptions = false;
            state.options.optionBlowFishOnly = true;
        } else if (argument == "/n" || argument == "/N") {
            state.options.useStoredOptions = false;
            state.options.optionNoConfirm = true;
        } else if (argument == "/a" || argument == "/A") {
            // Accepted for compatibility; it changes nothing.
        } else if (argument == "/f" || argument == "/F" || argument == "/s" || argument == "/S") {
            if (i + 1 >= arguments.size()) return CommandLineResult::ListFileUnreadable;
            const QString listFile = arguments[++i];
            if (!readListFile(listFile, state)) return CommandLineResult::ListFileUnreadable;
            if (argument == "/s" || argument == "/S") QFile::remove(listFile);
        } else {
            addIfPath(argument, state);
        }
    }
    return CommandLineResult::Accepted;
}
