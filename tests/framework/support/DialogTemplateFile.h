// Writes a dialog template where a ResourceSet rooted at `folder` finds it.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

inline bool writeDialogTemplate(const QString& folder, const QString& name, const QByteArray& text)
{
    QDir().mkpath(folder + "/dialogs");
    QFile file(folder + "/dialogs/" + name + ".dlg");
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}
