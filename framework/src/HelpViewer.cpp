#include "framework/HelpViewer.h"

#include "framework/FileSystem.h"
#include "framework/Modal.h"
#include "framework/PathText.h"

#include <QCoreApplication>
#include <QTextBrowser>

namespace framework {

namespace {

QString helpTitle(const QString& documentTitle, const QString& version)
{
    if (version.isEmpty()) return documentTitle;
    if (documentTitle.isEmpty()) return version;
    return documentTitle + QStringLiteral(" \u2014 ") + version;
}

}  // namespace

QTextBrowser* showHelpFile(QWidget* owner, const std::string& path, const QString& version)
{
    // Read by its bytes, so that a program folder whose name is no valid text
    // still finds its help.
    const auto page = isRegularFile(path) ? readStream(path) : std::nullopt;
    if (!page) {
        showMessage(
            owner,
            {QCoreApplication::translate("HelpViewer", "The help file cannot be opened:\n%1").arg(displayPath(path)),
             QCoreApplication::translate("HelpViewer", "Help"), MessageIcon::Exclamation, MessageButtons::Ok});
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
    viewer->setHtml(QString::fromUtf8(page->data(), static_cast<qsizetype>(page->size())));
    viewer->setWindowTitle(helpTitle(viewer->documentTitle(), version));
    viewer->show();
    viewer->raise();
    return viewer;
}

}  // namespace framework
