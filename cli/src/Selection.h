// The files of a command and where each is written, checked before anything
// is touched.
#pragma once

#include "Options.h"

#include "services/StringList.h"
#include "services/VariantTable.h"

#include <string>
#include <vector>

namespace cli {

struct Selection {
    services::StringList sources;
    services::StringList targets;  // one entry per source; the source itself when in place
};

struct SelectedFiles {
    Selection selection;
    std::vector<std::string> problems;  // each stops the command before anything is touched
};

// The files the paths and lists name, folders walked with -r, each file
// once however often and by whatever names it is given; with -o, the folder
// is created when it is missing.
SelectedFiles selectFiles(const Options& options, const services::VariantTexts& variant);

}  // namespace cli
