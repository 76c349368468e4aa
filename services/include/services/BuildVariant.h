// The table of build variants as the windows show it.
#pragma once

#include "services/VariantTable.h"

#include <QString>

#include <string_view>

namespace services {

// A text of the table (or any UTF-8 text) as the window shows it.
inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// " %d Files Selected for Encryption" with the count, whatever it is.
QString filesSelectedText(const VariantTexts& variant, int count);
// The summary of a selection: the forms for none, one and several files.
QString selectionSummary(const VariantTexts& variant, int count);

}  // namespace services
