#include "services/BuildVariant.h"

namespace services {

QString filesSelectedText(const VariantTexts& variant, int count)
{
    return toQString(variant.filesSelected).replace("%d", QString::number(count));
}

QString selectionSummary(const VariantTexts& variant, int count)
{
    if (count == 0) return toQString(variant.noFilesSelected);
    if (count == 1) return toQString(variant.oneFileSelected);
    return filesSelectedText(variant, count);
}

}  // namespace services
