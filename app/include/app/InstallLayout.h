// Where a program finds the files it reads at run time: beside itself in the
// build folder, or in the installed tree's data folder, found from the
// program's own folder so that a moved or staged tree works as well.
#pragma once

#include <string>
#include <string_view>

// The installed tree's data folder, seen from the folder of its programs.
std::string installedDataFolder(const std::string& programFolder);
// The help file `helpFileName` of the program in `programFolder`: the one
// beside it where there is one, otherwise the installed one. With a
// `language` ("de"), its translation ("sealwin.de.html") where there is one.
std::string helpFilePath(const std::string& programFolder, std::string_view helpFileName,
                         const std::string& language = {});
// The folder of the program's translations (tarvex_<language>.qm).
std::string translationsFolder(const std::string& programFolder);
