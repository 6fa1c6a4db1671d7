#include "gui/userguide.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vex::gui {

UserGuide::UserGuide(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Vexatron User Guide"));
    setObjectName(QStringLiteral("userguide"));
    resize(760, 640);
    auto* layout = new QVBoxLayout(this);
    d_browser = new QTextBrowser(this);
    d_browser->setOpenExternalLinks(true);
    layout->addWidget(d_browser);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString UserGuide::guidePath() {
    const QString installed = QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../share/doc/vexatron/user-guide.md");
    if (QFileInfo(installed).isFile()) return QFileInfo(installed).canonicalFilePath();
#ifdef VEX_DOCS_DIR
    const QString source = QStringLiteral(VEX_DOCS_DIR "/user-guide.md");
    if (QFileInfo(source).isFile()) return source;
#endif
    return {};
}

bool UserGuide::load() {
    const QString path = guidePath();
    if (path.isEmpty()) return false;
    // The browser resolves the guide's pictures and links to the other documents beside it.
    d_browser->setSearchPaths({QFileInfo(path).absolutePath()});
    d_browser->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
    return !d_browser->toPlainText().isEmpty();
}

}  // namespace vex::gui
