#include "gui/icons.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeySequence>

// The resources live in a static library: they are registered by name before first use.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace vex::gui {

namespace {

constexpr const char* kTipProperty = "vexBaseToolTip";
constexpr const char* kFollowsProperty = "vexTipFollowsShortcut";

void ensureResources() {
    static const bool done = [] {
        initIconResources();
        return true;
    }();
    (void)done;
}

}  // namespace

QIcon themedIcon(const QString& name) {
    ensureResources();
    const QString own = QStringLiteral(":/icons/%1.svg").arg(name);
    return QIcon::fromTheme(name, QFile::exists(own) ? QIcon(own) : QIcon());
}

QIcon applicationIcon() {
    ensureResources();
    QIcon icon(QStringLiteral(":/icons/vexatron.svg"));
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vexatron-%1.png").arg(size), QSize(size, size));
    return icon;
}

void setUpApplicationIdentity() {
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
}

QString shortcutToolTip(const QString& tip, const QKeySequence& key) {
    if (key.isEmpty()) return tip;
    return QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText));
}

void setShortcutToolTip(QAction* button, const QAction* source, const QString& tip) {
    button->setProperty(kTipProperty, tip);
    auto refresh = [button, source] {
        button->setToolTip(
            shortcutToolTip(button->property(kTipProperty).toString(), source->shortcut()));
    };
    refresh();
    if (button->property(kFollowsProperty).toBool()) return;
    button->setProperty(kFollowsProperty, true);
    // Shortcuts change with the options (the shift keys); the tip follows.
    QObject::connect(source, &QAction::changed, button, refresh);
}

}  // namespace vex::gui
