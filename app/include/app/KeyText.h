// Keys are 8-bit text. Keys typed on the programs' first platform were held
// in its Western European code page, so a key typed here is held the same
// way: files encrypted there with such a key decrypt here with the same
// typing.
#pragma once

#include "core/SecretText.h"

#include <QString>

// The key's bytes: one byte per character of the Western European code page
// (1252), and the UTF-8 bytes of any character outside it.
SecretText keyFromTypedText(const QString& typed);
