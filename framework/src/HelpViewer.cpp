#include "framework/HelpViewer.h"

#include "framework/Modal.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace framework {

QTextBrowser* showHelpFile(QWidget* owner, const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        showMessage(owner, {QStringLiteral("The help file cannot be opened:\n%1").arg(path), QStringLiteral("Help"),
                            MessageIcon::Exclamation, MessageButtons::Ok});
        return nullptr;
    }
    // One help window per owner, reused when help is asked for again.
    auto* viewer = owner ? owner->findChild<QTextBrowser*>(QStringLiteral("helpViewer")) : nullptr;
    if (!viewer) {
        viewer = new QTextBrowser(owner);
        viewer->setObjectName(QStringLiteral("helpViewer"));
        viewer->setWindowFlag(Qt::Window);
        viewer->setOpenExternalLinks(true);
        viewer->resize(640, 560);
        if (!owner) viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    viewer->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    viewer->setWindowTitle(viewer->documentTitle().isEmpty() ? file.fileName() : viewer->documentTitle());
    viewer->show();
    viewer->raise();
    return viewer;
}

}  // namespace framework
