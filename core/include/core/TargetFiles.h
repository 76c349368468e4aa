// Where a run writes its results. targetFiles holds one of two forms:
//  - directory form: the marker "TARGET_DIRECTORY", then a folder ending in a
//    separator; every source goes into that folder under its own name;
//  - per-file form: entry i is the target of source i. Empty means no target
//    was given; a single empty entry means none for a single folder.
#pragma once

#include "services/StringList.h"

#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view targetDirectoryMarker = "TARGET_DIRECTORY";

// Replaces the targets by the directory form for `folder`.
void setTargetDirectory(services::StringList& targetFiles, const std::string& folder);
// The folder of the directory form, with its final separator; nothing when
// the targets are in per-file form.
std::optional<std::string> targetDirectory(const services::StringList& targetFiles);

// Where source `index` of a run is written: in the directory form the folder
// and the source's own name; in the per-file form its entry, or the source
// itself (in place) when the entry is empty or missing.
std::string targetNameFor(const services::StringList& sources, const services::StringList& targets, int index);
