// One program's resources inside the Qt resource system: dialog templates,
// bitmaps and icons, addressed the way the program's code names them.
#pragma once

#include "framework/DialogTemplate.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <optional>

namespace framework {

class ResourceSet {
public:
    // root: the resource prefix of one program, e.g. ":/sealwin".
    explicit ResourceSet(QString root);

    const QString& root() const { return root_; }
    // Nothing when the template is missing or malformed; `error` then says
    // which and why.
    std::optional<DialogTemplate> dialogTemplate(const QString& name, QString* error = nullptr) const;
    QPixmap bitmap(int id) const;  // null when there is no such bitmap
    QIcon icon(int id) const;      // null when there is no such icon

private:
    QString root_;
};

}  // namespace framework
