// Checks the engine and mendkit against the known-answer files, on whatever
// processor they were built for: one line per failing case, then a count.
//   known_answers <folder of known-answer files> <command that runs mendkit...>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ChildRun.h"
#include "VectorFormat.h"
#include "tarvex.h"

namespace {

namespace fs = std::filesystem;
using namespace knownanswer;

// Why a case could not be checked: the file is malformed, or the folder
// would not take the case's files.
struct CannotCheck {
    std::string why;
};

void writeFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw CannotCheck{"cannot write " + path.string()};
}

Bytes readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    return parts;
}

size_t number(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        throw CannotCheck{"malformed number " + text};
    return std::stoul(text);
}

Bytes hexField(const Case& testCase, const std::string& key)
{
    const auto bytes = fromHex(testCase.field(key));
    if (!bytes) throw CannotCheck{"malformed " + key + ": not hexadecimal"};
    return *bytes;
}

// A private folder, the current directory while the check runs, because
// in-place runs keep their journals in the current directory.
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (fs::temp_directory_path() / "tarvex-known-answers-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
        std::error_code error;
        previous_ = fs::current_path(error);
        if (!path_.empty()) fs::current_path(path_, error);
    }
    ~Scratch()
    {
        std::error_code error;
        fs::current_path(previous_, error);
        if (!path_.empty()) fs::remove_all(path_, error);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    fs::path previous_;
};

class Checker {
public:
    Checker(std::vector<std::string> mendkit, fs::path scratch) : mendkit_(std::move(mendkit)), scratch_(scratch) {}

    void check(const Case& testCase)
    {
        if (testCase.kind == "blob") {
            blobs_[testCase.name] = hexField(testCase, "bytes");
            return;
        }
        ++cases_;
        if (testCase.kind == "transform") checkTransform(testCase);
        else if (testCase.kind == "chain") checkChain(testCase);
        else if (testCase.kind == "journal") checkJournal(testCase);
        else fail(testCase, "unknown kind " + testCase.kind);
    }

    void fail(const Case& testCase, const std::string& what)
    {
        ++failures_;
        std::cout << "FAIL " << testCase.kind << " " << testCase.name << ": " << what << "\n";
    }

    int cases() const { return cases_; }
    int failures() const { return failures_; }

private:
    struct Run {
        std::string key;
        int layer;
        int direction;
        Bytes input;
    };

    static Run runOf(const Case& testCase)
    {
        const Bytes key = hexField(testCase, "key");
        const auto input = split(testCase.field("input"), ':');
        if (input.size() != 2) throw CannotCheck{"malformed input"};
        const std::string direction = testCase.field("direction");
        return {std::string(key.begin(), key.end()), static_cast<int>(number(testCase.field("layer"))),
                direction == "e" ? TARVEX_ENCRYPT : TARVEX_DECRYPT,
                inputBytes(static_cast<uint32_t>(number(input[0])), number(input[1]))};
    }

    void checkTransform(const Case& testCase)
    {
        const Run run = runOf(testCase);
        Bytes buffer(run.input.size());
        tarvexTransformBuffer(run.key.c_str(), run.input.data(), static_cast<int32_t>(run.input.size()), buffer.data(),
                              run.direction, run.layer, 1);
        if (!meetsExpectation(testCase, buffer)) fail(testCase, "buffer transform");

        const fs::path source = scratch_ / "source.bin", target = scratch_ / "target.bin";
        std::error_code error;
        fs::remove(target, error);
        writeFile(source, run.input);
        int result = tarvexTransformFile(run.key.c_str(), source.c_str(), target.c_str(), run.direction, run.layer);
        if (result != TARVEX_OK) fail(testCase, "file transform returned " + std::to_string(result));
        else if (!meetsExpectation(testCase, readFile(target))) fail(testCase, "file transform into another file");

        writeFile(source, run.input);
        result = tarvexTransformFile(run.key.c_str(), source.c_str(), source.c_str(), run.direction, run.layer);
        if (result != TARVEX_OK) fail(testCase, "in-place transform returned " + std::to_string(result));
        else if (!meetsExpectation(testCase, readFile(source))) fail(testCase, "in-place transform");
    }

    void checkChain(const Case& testCase)
    {
        Run run = runOf(testCase);
        size_t done = 0;
        bool first = true;
        for (const std::string& piece : split(testCase.field("pieces"), ',')) {
            const size_t length = number(piece);
            if (done + length > run.input.size()) throw CannotCheck{"malformed pieces: longer than the input"};
            uint8_t* at = run.input.data() + done;
            tarvexTransformBuffer(run.key.c_str(), at, static_cast<int32_t>(length), at, run.direction, run.layer,
                                  first);
            first = false;
            done += length;
        }
        if (done != run.input.size()) throw CannotCheck{"malformed pieces: shorter than the input"};
        if (!meetsExpectation(testCase, run.input)) fail(testCase, "chained buffer transforms");
    }

    Bytes damagedFile(const Case& testCase, const Bytes& plain) const
    {
        Bytes file;
        for (const std::string& piece : split(testCase.field("file"), ',')) {
            const auto parts = split(piece, ':');
            if (parts.size() == 3 && parts[0] == "p") {
                const size_t from = number(parts[1]), length = number(parts[2]);
                if (from + length > plain.size()) throw CannotCheck{"malformed file piece: beyond the input"};
                file.insert(file.end(), plain.begin() + static_cast<long>(from),
                            plain.begin() + static_cast<long>(from + length));
                continue;
            }
            const auto literal = parts.size() == 2 && parts[0] == "x" ? fromHex(parts[1]) : std::nullopt;
            const auto blob = parts.size() == 2 && parts[0] == "b" ? blobs_.find(parts[1]) : blobs_.end();
            if (literal) file.insert(file.end(), literal->begin(), literal->end());
            else if (blob != blobs_.end()) file.insert(file.end(), blob->second.begin(), blob->second.end());
            else throw CannotCheck{"malformed file piece " + piece};
        }
        return file;
    }

    // The header at the start, the window and its trailer from where the
    // record keeps its window.
    static Bytes windowRecord(const std::string& field)
    {
        const auto parts = split(field, ':');
        const auto header = parts.size() == 2 ? fromHex(parts[0]) : std::nullopt;
        const auto window = parts.size() == 2 ? fromHex(parts[1]) : std::nullopt;
        constexpr size_t kWindowOffset = 4096;
        if (!header || !window || header->size() > kWindowOffset) throw CannotCheck{"malformed record"};
        Bytes record = *header;
        record.resize(kWindowOffset);
        record.insert(record.end(), window->begin(), window->end());
        return record;
    }

    void checkJournal(const Case& testCase)
    {
        const fs::path folder = scratch_ / ("journal-" + std::to_string(cases_));
        std::error_code error;
        if (!fs::create_directories(folder, error)) throw CannotCheck{"cannot make " + folder.string()};
        const Run run = runOf(testCase);
        const std::string journalName = testCase.field("journal-name");
        const std::string repair = testCase.field("repair");
        if (journalName.size() < 4 || journalName.find('/') != std::string::npos)
            throw CannotCheck{"malformed journal-name"};
        writeFile(folder / "data.bin", damagedFile(testCase, run.input));
        writeFile(folder / journalName, hexField(testCase, "journal"));
        if (testCase.fields.count("record"))
            writeFile(folder / fs::path(journalName).replace_extension(".undo"),
                      windowRecord(testCase.field("record")));

        std::vector<std::string> command = mendkit_;
        fs::path repaired = folder / "data.bin";
        if (repair == "journal" || repair == "finish") {
            command.insert(command.end(), {"--journal", (folder / journalName).string(), run.key});
            if (run.layer == 1) command.push_back("/b");
            if (repair == "finish") command.push_back("--finish");
        } else if (repair == "blocks" || repair == "bytes") {
            const std::string runLetter = journalName.substr(0, 3) == "TXE" ? "E" : "D";
            command.insert(command.end(), {runLetter, testCase.field("argument"), "data.bin", "fixed.bin", run.key});
            if (run.layer == 1) command.push_back("/b");
            repaired = folder / "fixed.bin";
        } else {
            throw CannotCheck{"malformed repair " + repair};
        }
        const ChildResult result = runChild(command, folder.string());
        std::string output = result.output;
        std::replace(output.begin(), output.end(), '\b', ' ');
        std::replace(output.begin(), output.end(), '\n', ' ');
        if (result.status != 0) fail(testCase, "mendkit exited with " + std::to_string(result.status) + ": " + output);
        else if (!meetsExpectation(testCase, readFile(repaired)))
            fail(testCase, "repaired file; mendkit said: " + output);
        else if (repaired.filename() == "data.bin" && fs::exists(folder / journalName))
            fail(testCase, "the journal stayed after the repair");
    }

    std::vector<std::string> mendkit_;
    fs::path scratch_;
    std::map<std::string, Bytes> blobs_;
    int cases_ = 0;
    int failures_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: known_answers <folder of known-answer files> <command that runs mendkit...>\n";
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    // mendkit runs in a folder of its own: a program named by a relative path
    // is found from here.
    std::vector<std::string> mendkit(argv + 2, argv + argc);
    if (mendkit[0].find('/') != std::string::npos) mendkit[0] = fs::absolute(mendkit[0]).string();
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    const Scratch scratch;
    if (scratch.path().empty()) {
        std::cerr << "cannot make a private folder for the check\n";
        return 2;
    }
    Checker checker(mendkit, scratch.path());
    for (const fs::path& file : files) {
        std::ifstream lines(file);
        std::string line;
        int lineNumber = 0;
        while (std::getline(lines, line)) {
            ++lineNumber;
            const auto testCase = parseLine(line);
            if (!testCase) continue;
            try {
                checker.check(*testCase);
            } catch (const CannotCheck& cannot) {
                checker.fail(*testCase,
                             file.filename().string() + ":" + std::to_string(lineNumber) + ": " + cannot.why);
            }
        }
    }
    if (checker.cases() == 0) {
        std::cerr << "no known-answer cases in " << folder << "\n";
        return 2;
    }
    std::cout << checker.cases() << " known-answer cases, " << checker.failures() << " failed\n";
    return checker.failures() == 0 ? 0 : 1;
}
