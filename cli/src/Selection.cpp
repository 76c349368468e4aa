#include "Selection.h"

#include "core/FileSystem.h"
#include "core/FolderWalk.h"
#include "core/PathList.h"
#include "core/Paths.h"
#include "core/TargetFiles.h"

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <utility>

namespace cli {

namespace {

std::string shown(const std::string& path) { return core::shownPath(path); }

// A refusal's text on one line.
std::string oneLine(std::string_view text)
{
    std::string line;
    for (const char c : text) {
        if (c != '\n') line += c;
        else if (!line.empty() && line.back() != ' ') line += ' ';
    }
    return line;
}

using FileIdentity = std::pair<dev_t, ino_t>;

std::optional<FileIdentity> identityOf(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

// Walks with -r: every subfolder is entered; a refusal or a walk too deep
// stops the command.
class CommandWalkQuestions : public WalkQuestions {
public:
    CommandWalkQuestions(const services::VariantTexts& variant, std::vector<std::string>& problems)
        : variant_(variant), problems_(problems)
    {}
    Answer askAboutSubfolders(const std::string&) override { return Answer::Yes; }
    void refuseFolder(RefusalKind kind, const std::string& folder) override
    {
        problems_.push_back(shown(folder) + ": " + oneLine(refusalText(kind, variant_)));
    }
    void refuseSubfolder(RefusalKind kind, const std::string& subfolder) override { refuseFolder(kind, subfolder); }
    void cancelForDepth(const std::string& folder) override
    {
        problems_.push_back(shown(folder) + ": " + oneLine(variant_.selectionCancelled) + ": more than " +
                            std::to_string(FolderWalk::depthLimit - 1) + " levels of subfolders");
    }

private:
    const services::VariantTexts& variant_;
    std::vector<std::string>& problems_;
};

class Selector {
public:
    Selector(const Options& options, const services::VariantTexts& variant)
        : options_(options), guarded_{core::systemFolders(), core::installFolder()}, walk_(variant, result_.problems)
    {}

    SelectedFiles select()
    {
        for (const std::string& path : options_.paths) addNamed(path);
        for (const std::string& list : options_.lists) addList(list);
        if (result_.problems.empty()) chooseTargets();
        if (result_.problems.empty()) checkTargets();
        return std::move(result_);
    }

private:
    void addNamed(const std::string& path)
    {
        if (isFilePath(path)) {
            addFile(path);
        } else if (isFolderPath(path)) {
            if (!options_.recursive) {
                result_.problems.push_back(shown(path) + " is a folder: -r walks it");
                return;
            }
            services::StringList found;
            if (expandTopLevelFolder(path, found, guarded_, walk_) != ExpansionOutcome::Expanded) return;
            for (int i = 0; i < found.count(); ++i) addFile(found.getAt(i));
        } else {
            result_.problems.push_back(shown(path) + ": no such file, or not a regular file that can be read");
        }
    }

    void addList(const std::string& list)
    {
        const std::string name = list == "-" ? "/dev/stdin" : list;
        const auto lines = readPathList(name);
        if (!lines) {
            result_.problems.push_back("the list " + shown(list) + " cannot be read");
            return;
        }
        for (const std::string& line : *lines) addNamed(line);
    }

    // Two names of one file would transform it twice.
    void addFile(const std::string& path)
    {
        const auto identity = identityOf(path);
        if (identity && !seen_.insert(*identity).second) return;
        result_.selection.sources.add(path);
    }

    // A file only for one source named by itself; whatever a walk or a list
    // found goes into a folder, however many files that was.
    bool wantsFolder() const
    {
        const std::string& output = *options_.output;
        return result_.selection.sources.count() > 1 || options_.recursive || !options_.lists.empty() ||
               output.ends_with('/') || isFolderPath(output);
    }

    void chooseTargets()
    {
        Selection& selection = result_.selection;
        const int count = selection.sources.count();
        if (!options_.output) {
            for (int i = 0; i < count; ++i) selection.targets.add(selection.sources.getAt(i));
            return;
        }
        services::StringList named;
        if (wantsFolder()) {
            std::error_code error;
            std::filesystem::create_directories(*options_.output, error);
            if (!isFolderPath(*options_.output)) {
                result_.problems.push_back("the folder " + shown(*options_.output) + " cannot be made" +
                                           (error ? ": " + error.message() : std::string()));
                return;
            }
            setTargetDirectory(named, *options_.output);
        } else {
            named.add(*options_.output);
        }
        for (int i = 0; i < count; ++i) {
            const std::string source = selection.sources.getAt(i);
            std::string target = targetNameFor(selection.sources, named, i);
            // The engine writes in place only when the names agree: another
            // name of the source would be emptied before it is read.
            const auto sourceIdentity = identityOf(source);
            if (sourceIdentity && sourceIdentity == identityOf(target)) target = source;
            selection.targets.add(target);
        }
    }

    // No target may be written twice, be another source, or differ from its
    // source in letter case alone, which the engine takes for the same name.
    void checkTargets()
    {
        const Selection& selection = result_.selection;
        std::set<std::string> targets;
        std::set<FileIdentity> sources(seen_);
        for (int i = 0; i < selection.sources.count(); ++i) {
            const std::string source = selection.sources.getAt(i);
            const std::string target = selection.targets.getAt(i);
            if (!targets.insert(target).second) {
                result_.problems.push_back(shown(target) + " would be written by two files");
                continue;
            }
            if (target == source) continue;
            if (equalIgnoringCase(source, target)) {
                result_.problems.push_back(shown(target) + " differs from " + shown(source) +
                                           " in letter case alone: give another name");
                continue;
            }
            const auto identity = identityOf(target);
            if (identity && sources.contains(*identity))
                result_.problems.push_back(shown(target) + " is one of the files to transform: give another name");
        }
    }

    const Options& options_;
    GuardedFolders guarded_;
    SelectedFiles result_;
    CommandWalkQuestions walk_;
    std::set<FileIdentity> seen_;
};

}  // namespace

SelectedFiles selectFiles(const Options& options, const services::VariantTexts& variant)
{
    return Selector(options, variant).select();
}

}  // namespace cli
