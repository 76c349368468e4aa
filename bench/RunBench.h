#pragma once

#include <string>

// Runs one file through processFiles into `target`; returns how many window
// updates the run made.
long long runThroughProcessFiles(const char* key, const std::string& source, const std::string& target);
