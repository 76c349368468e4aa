#include "framework/ResourceSet.h"

#include <QGuiApplication>

#include <QFile>

#include <utility>

namespace framework {

ResourceSet::ResourceSet(QString root) : root_(std::move(root)) {}

std::optional<DialogTemplate> ResourceSet::dialogTemplate(const QString& name, QString* error) const
{
    QFile file(root_ + "/dialogs/" + name + ".dlg");
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("The dialog template %1 is missing (%2).").arg(name, file.fileName());
        return std::nullopt;
    }
    QString parseError;
    auto parsed = parseDialogTemplate(QString::fromUtf8(file.readAll()), &parseError);
    if (!parsed && error) *error = QStringLiteral("The dialog template %1 is malformed: %2").arg(name, parseError);
    return parsed;
}

QPixmap ResourceSet::bitmap(int id) const
{
    // A screen scaled up gets the picture drawn at twice its size.
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        QPixmap sharp(root_ + QStringLiteral("/bitmaps/%1@2x.png").arg(id));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QPixmap(root_ + QStringLiteral("/bitmaps/%1.png").arg(id));
}

QIcon ResourceSet::icon(int id) const
{
    const QString path = root_ + QStringLiteral("/icons/%1.png").arg(id);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace framework
