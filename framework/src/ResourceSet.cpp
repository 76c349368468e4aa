#include "framework/ResourceSet.h"

#include <QFile>

#include <utility>

namespace framework {

ResourceSet::ResourceSet(QString root) : root_(std::move(root)) {}

std::optional<DialogTemplate> ResourceSet::dialogTemplate(const QString& name) const
{
    QFile file(root_ + "/dialogs/" + name + ".dlg");
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return parseDialogTemplate(QString::fromUtf8(file.readAll()));
}

QPixmap ResourceSet::bitmap(int id) const
{
    return QPixmap(root_ + QStringLiteral("/bitmaps/%1.png").arg(id));
}

QIcon ResourceSet::icon(int id) const
{
    const QString path = root_ + QStringLiteral("/icons/%1.png").arg(id);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace framework
