// The table of a build variant with every text a user reads in the user's
// language, as the translators installed in the application give it. Names,
// key paths, file names and ids stay as they are. With no translator
// installed every text is the English one, byte for byte.
#pragma once

#include "services/BuildVariant.h"

#include <deque>
#include <string>

namespace services {

class TranslatedVariantTexts {
public:
    explicit TranslatedVariantTexts(const VariantTexts& english);
    TranslatedVariantTexts(const TranslatedVariantTexts&) = delete;
    TranslatedVariantTexts& operator=(const TranslatedVariantTexts&) = delete;

    // Its texts point into this object: it outlives every user of the table.
    const VariantTexts& texts() const { return texts_; }

private:
    std::string_view translated(const char* context, std::string_view english);

    std::deque<std::string> translations_;  // a deque never moves what it holds
    VariantTexts texts_;
};

}  // namespace services
