// Where the key comes from: typed twice at the terminal without echo, one
// line of a descriptor, or the first line of a file. Never an argument.
#pragma once

#include "Options.h"

#include "core/SecretText.h"

#include <optional>
#include <string>

namespace cli {

struct KeyInput {
    std::optional<SecretText> key;  // the key's bytes, encoded as the windows encode a typed key
    std::string problem;            // why there is none
};

// Reads the key as the options say, checks its length and encodes it.
KeyInput readKey(const Options& options);

}  // namespace cli
