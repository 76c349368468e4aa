// The activity log as an exported file: the entries as CR LF lines, encrypted
// as one stream, and written so that a failed write never leaves a
// half-written file behind.
#pragma once

#include "core/EngineGate.h"
#include "core/SecretText.h"

#include <string>
#include <vector>

namespace logexport {

// Each entry, in order, followed by CR LF.
std::string exportText(const std::vector<std::string>& entries);

// Encrypts `text` in place in the engine's 65536-byte pieces, the generator
// carried from piece to piece, so the result equals the file transform of a
// file holding the same text.
inline constexpr int pieceSize = 65536;
void encryptInPlace(const EngineGate::Pass& pass, const SecretText& key, std::string& text, int layerChoice);

enum class WriteResult { Written, CannotOpen, WriteFailed };
// Writes `bytes` to a temporary file beside `path`, flushes it to the disk
// and renames it over `path`; on any failure the temporary file goes and
// `path` is left as it was.
WriteResult replaceFile(const std::string& path, const std::string& bytes);

}  // namespace logexport
