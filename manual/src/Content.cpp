// What the manuals say. Sealwin and Unsealwin share one text; only the
// direction words differ.
#include "manual/Manuals.h"

namespace manual {

namespace {

Word literal(std::string text, bool joined = false) { return {Style::Literal, std::move(text), joined}; }
Word placeholder(std::string text, bool joined = false) { return {Style::Placeholder, std::move(text), joined}; }
Word path(std::string text) { return {Style::Path, std::move(text)}; }
Word variable(std::string text) { return {Style::Variable, std::move(text)}; }
Word plain(std::string text) { return {Style::Plain, std::move(text)}; }

Group required(Words words) { return {Group::Kind::Required, {std::move(words)}}; }
Group optional(Words words) { return {Group::Kind::Optional, {std::move(words)}}; }
Group choice(std::vector<Words> alternatives) { return {Group::Kind::Choice, std::move(alternatives)}; }

// The words that differ between the two window programs.
struct Direction {
    bool encrypts;
    std::string program;  // "sealwin"
    std::string other;    // the program that undoes this one's work
    std::string verb;     // "encrypt"
    std::string button;   // "Encrypt"
    std::string journal;  // "TXE<n>.adt"
};

Manual windowProgram(const Direction& d)
{
    const bool encrypts = d.encrypts;
    Manual m;
    m.name = d.program;
    m.summary = encrypts ? "encrypt files and folders with a key" : "decrypt files and folders that sealwin encrypted";
    m.synopsis = {
        {optional({literal("/b")}), optional({literal("/n")}), optional({literal("/a")}),
         optional({literal("/f"), placeholder("listfile")}), optional({literal("/s"), placeholder("listfile")}),
         optional({placeholder("path"), plain("...")})},
        {required({literal("--help")})},
        {required({literal("--version")})},
    };

    m.description = {
        encrypts ? "Sealwin encrypts files with a key that you choose. Encrypted files keep their length and carry no "
                   "header; only the same key turns them back, with unsealwin."
                 : "Unsealwin decrypts files that sealwin encrypted. Encrypted files keep their length and carry no "
                   "header; unsealwin needs the very key and BlowFish Only choice they were encrypted with.",
        "The window is the main interface. Type or drop a file or folder into the " + d.button +
            ": field, or pick files with Browse. Leave the To: field empty to " + d.verb +
            " the files in place, or name a file or a folder for the results. Type a key of 8 to 88 characters, "
            "press " +
            d.button +
            " and type the key a second time. The help file, which the window's Help button opens, describes "
            "every control, the right-click menu, the log and the user ID and password.",
        "The command line only prepares the window: it sets options and selects files before the window opens. "
        "Each path selects a file or a folder; one that names neither is skipped. The switches may also be "
        "written in upper case. Every other argument is taken as a path, and so are --help and --version unless "
        "they are the only argument.",
    };
    m.optionsTitle = "Options";
    m.options = {
        {{literal("/b")},
         encrypts ? "Start with BlowFish Only checked: the block cipher alone is used. The stored "
                    "options are not used."
                  : "Start with BlowFish Only checked, for files that were encrypted with BlowFish "
                    "Only. The stored options are not used."},
        {{literal("/n")},
         "Start with Confirm Overwrite unchecked: existing files are replaced without asking. The stored options are "
         "not used."},
        {{literal("/a")}, "Accepted and ignored."},
        {{literal("/f"), placeholder("listfile")},
         "Select the paths listed in listfile, one a line. Lines may end in CR LF or in LF; empty lines and lines "
         "starting with # are skipped. The list may come from a stream such as /dev/stdin or a pipe. A batch file "
         "of the window's menu serves as a list file too."},
        {{literal("/s"), placeholder("listfile")},
         "As /f, and listfile is deleted after reading it. A stream is read but never deleted."},
        {{literal("--help")}, "Print the usage text and exit."},
        {{literal("--version")}, "Print the program's name and version and exit."},
    };
    m.environment = {
        {{variable("XDG_CONFIG_HOME")}, "The folder that holds the settings; ~/.config when it is unset or empty."},
    };
    m.files = {
        {{path("$XDG_CONFIG_HOME/Tarvex/registry/")},
         "The settings, ~/.config/Tarvex/registry/ by default: each program's options and window position under a "
         "key of its own, and the user ID and password that sealwin and unsealwin share."},
        {{path(d.program + ".html")},
         "The help file, beside the program or in the help folder of the installed tree's data."},
        {{path(d.journal)},
         "The journal of a file being " + d.verb +
             "ed in place, in the current folder while the file is rewritten. A run cut short leaves it behind, "
             "and mendkit repairs the file from its last line."},
        {{path("Mendkit<n>.log")},
         "The recovery list of a run of several files, in the current folder while the run lasts. It names every "
         "target the run may leave half done."},
    };
    m.exitStatus = {
        {{plain("0")}, "The window was closed, or --help or --version printed its text."},
        {{plain("1")}, "The login was refused: the user ID and password asked for at the start were not given."},
        {{plain("2")},
         "The program could not start, for example because one of its resources is broken; standard error says why."},
        {{plain("255")},
         "A list file of /f or /s could not be read, or its name is missing (the status is -1). No window was "
         "opened."},
    };
    m.examples = {
        {"Select the letters of a folder tree through a list file:",
         {"find ~/letters -name '*.odt' > letters.tvx", d.program + " /f letters.tvx"}},
        {"The same without a file on disk:", {"find ~/letters -name '*.odt' | " + d.program + " /f /dev/stdin"}},
    };
    m.seeAlso = {"mendkit", d.other};
    m.caveats = {
        "Nothing in an encrypted file tells its key. A wrong key is not detected: decrypting with it gives other "
        "bytes, and nobody can recover files whose key is lost.",
        "Files encrypted with BlowFish Only must be decrypted with BlowFish Only.",
    };
    return m;
}

Manual mendkit()
{
    Manual m;
    m.name = "mendkit";
    m.summary = "repair a file whose in-place encryption or decryption was cut short";
    m.synopsis = {
        {choice({{literal("E")}, {literal("D")}}),
         choice({{placeholder("NumBlocks")}, {literal("."), placeholder("NumBytes", true)}}),
         required({placeholder("BrokenFile")}), required({placeholder("FixedFile")}), required({placeholder("key")}),
         optional({literal("/b")})},
        {required({literal("--journal"), placeholder("Journal")}), required({placeholder("key")}),
         optional({literal("/b")}), optional({literal("--finish")})},
        {required({literal("--help")})},
    };
    m.description = {
        "Mendkit repairs a file that sealwin or unsealwin was rewriting in place when the run was cut short: "
        "killed, out of power or out of disk space. Such a file is partly transformed. The journal the run left "
        "in the folder it was started from tells how far it got: TXE<n>.adt after an encryption, TXD<n>.adt "
        "after a decryption. Each of its lines holds the file's name, the number of 64 KiB chunks already "
        "rewritten and the byte position where the untouched rest begins; the last line counts. Beside the "
        "journal lies the window record, TXE<n>.undo or TXD<n>.undo, which holds the enciphered bytes of the "
        "window of 64 chunks the run was rewriting and a check value of its key.",
        "With --journal, mendkit repairs the file the journal names in place, from the journal and its window "
        "record: it finishes the window an encryption was writing, or puts back the window a decryption was "
        "rewriting, however much of it had reached the disk. The file then holds the plaintext, or with --finish "
        "what the completed run would have left. The repaired file is written beside the damaged one and takes "
        "its place only when it is whole, with the damaged file's permissions and time stamps; then the journal "
        "and the record are removed. A repair cut short, or one that runs out of disk space, leaves the "
        "damaged file and its journal as they were, to be repaired again. A key or /b that does not fit the "
        "record's check value, a run still going, a file with other names (hard links) and a journal larger than "
        "any run writes are refused before anything is written. Mendkit prints what it decided.",
        "In the first form mendkit reads BrokenFile, turns the finished part back and writes the whole into "
        "FixedFile, which ends up holding the plaintext: after an interrupted decryption mendkit finishes by "
        "decrypting FixedFile in place. The numbers are taken from the journal by hand, and the window record is "
        "not used. Mendkit reports its progress and any failure on standard output.",
    };
    m.optionsTitle = "Arguments";
    m.options = {
        {{literal("E")},
         "The interrupted run was an encryption; its journal is named TXE<n>.adt. A lower-case e is accepted too."},
        {{literal("D")},
         "The interrupted run was a decryption; its journal is named TXD<n>.adt. A lower-case d is accepted too."},
        {{placeholder("NumBlocks")},
         "The number of 64 KiB chunks the run finished: the second number of the journal's last line."},
        {{literal("."), placeholder("NumBytes", true)},
         "The byte position where the unfinished rest begins, after a dot: the third number of the journal's "
         "last line."},
        {{placeholder("BrokenFile")},
         "The file the run was cut short on. It is only read, and must be a regular file."},
        {{placeholder("FixedFile")},
         "The repaired file, created or emptied. It must be another file: any name that reaches BrokenFile, such as "
         "a link or a relative against an absolute path, is refused. When the copy fails, the half-written "
         "FixedFile is removed."},
        {{literal("--journal"), placeholder("Journal")},
         "The journal of the interrupted run, TXE<n>.adt or TXD<n>.adt; its name tells the run's direction. The "
         "file it names is repaired in place; a relative name in it is taken from the journal's folder."},
        {{placeholder("key")}, "The key of the interrupted run; quote it when it holds blanks."},
        {{literal("/b")},
         "The run used BlowFish Only, the block cipher alone. In the first form any sixth argument is taken as /b."},
        {{literal("--finish")},
         "With --journal: leave the file wholly encrypted after an interrupted encryption, wholly decrypted after "
         "an interrupted decryption, as if the run had completed."},
        {{literal("--help")}, "Print the usage text and exit, when it is the only argument."},
    };
    m.files = {
        {{path("TXE<n>.adt")}, "The journal of an interrupted in-place encryption."},
        {{path("TXD<n>.adt")},
         "The journal of an interrupted in-place decryption. Mendkit keeps one of its own, with its record, in "
         "the current folder while it decrypts FixedFile."},
        {{path("TXE<n>.undo")},
         "The window record beside the journal of the same number: the enciphered bytes of the window the run was "
         "rewriting and the key's check value, checked before use. TXD<n>.undo belongs to a decryption."},
        {{path("TXE<n>.repaired")},
         "Written by --journal before the repaired file is written, and removed after the journal, so that a "
         "repair stopped before the replacement leaves nothing behind and one stopped after it is not done twice."},
        {{path("Mendkit<n>.log")},
         "The recovery list a run of several files leaves behind when it is cut short. It names every target that "
         "run may have left half done."},
    };
    m.exitStatus = {
        {{plain("0")}, "FixedFile or the journal's file was repaired, or --help printed its text."},
        {{plain("255")},
         "A usage error, FixedFile naming BrokenFile, a journal that cannot be read or does not fit its file, a key "
         "that does not fit the record, a run still going, or a file that cannot be opened, read or written (the "
         "status is -1). The "
         "reason is printed."},
    };
    m.examples = {
        {"Repair report.pdf in place from the journal its encryption left behind, back to the plaintext, or on to "
         "the encrypted file:",
         {"mendkit --journal TXE1733000000.adt \"my secret key\"",
          "mendkit --journal TXE1733000000.adt \"my secret key\" --finish"}},
        {"The journal of an encryption of report.pdf ends in the line \"report.pdf 2 131072\". Either number "
         "repairs the file into a copy:",
         {"mendkit E 2 report.pdf report-fixed.pdf \"my secret key\"",
          "mendkit E .131072 report.pdf report-fixed.pdf \"my secret key\""}},
    };
    m.seeAlso = {"sealwin", "unsealwin"};
    m.caveats = {
        "A wrong key is not detected in general. With --journal, a key or /b that does not fit the undo copy is "
        "refused when the run had begun to rewrite its chunk; otherwise the repair turns the file with the given "
        "key.",
        "A journal left by a run without an undo copy may be one chunk behind: with --journal mendkit then uses "
        "the journal's count and says that the result is uncertain for one chunk. In the first form, a run that "
        "was killed between writing a chunk and writing that chunk's journal line leaves the journal one chunk "
        "behind. If the file mended with the journal's numbers is not the plaintext, mend it again with the count "
        "plus 1, or with the position plus 65536 capped at the file's size.",
    };
    return m;
}

Manual commandLine()
{
    Manual m;
    m.name = "tarvex";
    m.summary = "encrypt, decrypt and repair files from a command line";
    m.synopsis = {
        {required({literal("encrypt")}), optional({literal("-b")}), optional({literal("-r")}),
         optional({literal("-y")}), optional({literal("-q")}), optional({literal("-j"), placeholder("jobs")}),
         optional({literal("-o"), placeholder("output")}), optional({literal("-l"), placeholder("listfile")}),
         optional({literal("--key-fd"), placeholder("fd")}), optional({literal("--key-file"), placeholder("file")}),
         optional({placeholder("path"), plain("...")})},
        {required({literal("decrypt")}), optional({literal("-b")}), optional({literal("-r")}),
         optional({literal("-y")}), optional({literal("-q")}), optional({literal("-j"), placeholder("jobs")}),
         optional({literal("-o"), placeholder("output")}), optional({literal("-l"), placeholder("listfile")}),
         optional({literal("--key-fd"), placeholder("fd")}), optional({literal("--key-file"), placeholder("file")}),
         optional({placeholder("path"), plain("...")})},
        {required({literal("repair")}), optional({literal("--finish")}), optional({literal("-b")}),
         optional({literal("--key-fd"), placeholder("fd")}), optional({literal("--key-file"), placeholder("file")}),
         optional({placeholder("journal"), plain("...")})},
        {required({literal("--help")})},
        {required({literal("--version")})},
    };
    m.description = {
        "Tarvex encrypts and decrypts files as sealwin and unsealwin do, byte for byte, for scripts and servers: "
        "a file encrypted by one is decrypted by the other. It never opens a window and never asks a question "
        "that has no terminal to answer it.",
        "Without -o each file is transformed in place. The run keeps a journal in the current folder while a file "
        "is rewritten, so that tarvex repair (or mendkit) can put right a file that a run cut short left partly "
        "transformed. With -o the results go into a file (one source) or a folder, which is made when it is "
        "missing.",
        "The key is typed twice at the terminal, without echo, or read from a descriptor or a file. It is never "
        "taken as an argument, since other users can read a process's arguments: any option that would hand over "
        "a key is refused. A key of 8 to 88 characters is encoded as the windows encode a typed key.",
        "Before anything is touched every path is checked: a name that is no readable file, a folder without -r, "
        "a folder the windows refuse (the system's folders, the program's folder, the root), a walk more than 8 "
        "levels deep, a key of the wrong length and two files that would be written to one target stop the "
        "command with status 2. A file given twice, under any of its names, is transformed once.",
        "tarvex repair repairs the files of the journals named, or of every journal in the current folder, "
        "deciding and reporting as mendkit --journal does.",
    };
    m.optionsTitle = "Options";
    m.options = {
        {{literal("-b")}, "Use the block cipher alone (BlowFish Only). Files encrypted so must be decrypted so."},
        {{literal("-r")}, "Walk folders: every file below them, in every subfolder. Links are never followed."},
        {{literal("-o"), placeholder("output")},
         "Write the results into output: a file when there is one source and output is no folder and does not end "
         "in /, otherwise a folder that takes every result under its source's name."},
        {{literal("-l"), placeholder("listfile")},
         "Take the paths listed in listfile, one a line, as if they were given as arguments; - reads standard "
         "input. Lines may end in CR LF; empty lines and lines starting with # are skipped."},
        {{literal("-j"), placeholder("jobs")},
         "Share the files among this many worker processes, each with its own engine; one per processor by "
         "default. The results are the same whatever the number."},
        {{literal("-y")}, "Overwrite existing targets without asking."},
        {{literal("-q")}, "Show no progress line."},
        {{literal("--progress")},
         "Show the progress line (the current file, the share done, the speed and the time left) even when "
         "standard error is no terminal."},
        {{literal("--key-fd"), placeholder("fd")}, "Read the key from the first line of descriptor fd."},
        {{literal("--key-file"), placeholder("file")}, "Read the key from the first line of file."},
        {{literal("--finish")},
         "With repair: leave each file wholly transformed, as the interrupted run would have, instead of wholly "
         "as it was before that run."},
        {{literal("--help")}, "Print the usage text and exit."},
        {{literal("--version")}, "Print the program's name and version and exit."},
    };
    m.files = {
        {{path("TXE<n>.adt")}, "The journal of a file being encrypted in place, in the current folder."},
        {{path("TXD<n>.adt")}, "The journal of a file being decrypted in place, in the current folder."},
        {{path("Mendkit<n>.log")},
         "The recovery list of each worker of a run of several files, in the current folder while it lasts."},
    };
    m.exitStatus = {
        {{plain("0")}, "Every file was done, or --help or --version printed its text."},
        {{plain("1")},
         "Some files failed: each is named on standard error with the reason. Or the overwrite question was "
         "answered with quit, before any file was touched."},
        {{plain("2")},
         "A usage error, or a refusal before anything was touched: a path, a folder, a key or an existing "
         "target without a terminal to ask about it."},
    };
    m.examples = {
        {"Encrypt a folder tree in place, with the key typed at the terminal:", {"tarvex encrypt -r ~/letters"}},
        {"Decrypt the files a list names into a folder, with the key in a file only you can read:",
         {"tarvex decrypt --key-file ~/.tarvex-key -o restored -l letters.tvx"}},
        {"Repair what an interrupted run left in the current folder:", {"tarvex repair"}},
    };
    m.seeAlso = {"mendkit", "sealwin", "unsealwin"};
    m.caveats = {
        "Nothing in an encrypted file tells its key. A wrong key is not detected: decrypting with it gives other "
        "bytes, and nobody can recover files whose key is lost.",
    };
    return m;
}

}  // namespace

const Manual& manualOf(Program program)
{
    static const Manual sealwin = windowProgram({true, "sealwin", "unsealwin", "encrypt", "Encrypt", "TXE<n>.adt"});
    static const Manual unsealwin = windowProgram({false, "unsealwin", "sealwin", "decrypt", "Decrypt", "TXD<n>.adt"});
    static const Manual repairTool = mendkit();
    static const Manual command = commandLine();
    switch (program) {
    case Program::Sealwin: return sealwin;
    case Program::Unsealwin: return unsealwin;
    case Program::Mendkit: return repairTool;
    case Program::Tarvex: break;
    }
    return command;
}

}  // namespace manual
