// Vexatron: the BCT8 programming application.
//   vexatron [--dir FOLDER] [FILE.mem]
// --dir names the program folder (settings, state, logs, backups); by default it is the
// per-user data folder. A MEM file named on the command line is opened at start.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "gui/lcd8.h"
#include "gui/memtab.h"
#include "mainwin/startup.h"
#include "platform/program_folder.h"

namespace {

constexpr const char* kUsage =
    "Usage: vexatron [--dir FOLDER] [FILE.mem]\n"
    "  --dir FOLDER  program folder for settings, state and backups\n";

// The usage is asked for before any window: it must print without a display.
bool WantsUsage(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--dir" || arg == "--screenshot") {
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (WantsUsage(argc, argv)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vexatron");
    QApplication::setApplicationVersion("0.1");

    const QStringList args = QApplication::arguments();
    QString openPath;
    QString screenshotPath;  // not advertised: used to make the picture in the docs
    QString panelShotPath;   // the same for the Virtual Control Panel
    QString besidePath;      // a text shown beside that picture (the simulator's trace)
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == "--dir" || arg == "--screenshot" || arg == "--screenshot-panel" ||
            arg == "--screenshot-beside") {
            if (i + 1 < args.size() && arg == "--screenshot-beside") besidePath = args[i + 1];
            if (i + 1 < args.size() && arg == "--screenshot") screenshotPath = args[i + 1];
            if (i + 1 < args.size() && arg == "--screenshot-panel") panelShotPath = args[i + 1];
            ++i;
        } else if (!arg.startsWith("--")) {
            // Absolute, so lastfile.ini can reopen it from any working folder.
            openPath = QFileInfo(arg).absoluteFilePath();
        }
    }

    vex::gui::DialogPrompter prompter;
    vex::AppState state;
    const vex::StartupOutcome outcome = vex::LoadStartupState(vex::ProgramFolder(args), state);
    if (!outcome.ok) {
        prompter.tell(nullptr, QStringLiteral("Vexatron"), vex::gui::L1(outcome.message),
                      vex::gui::NoticeIcon::Critical);
        return 1;
    }

    vex::gui::MemTab window(state, prompter);
    // Closing the main window ends the program, also with side windows still open.
    QObject::connect(&window, &vex::gui::MemTab::ended, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.tellStartupNotes(); });
    if (!openPath.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, openPath] { window.openMemFile(openPath); });
    } else {
        window.scheduleStartupReload();
    }
    // "Always start with Virtual Control".
    if (state.options.vstart == 1)
        QTimer::singleShot(750, &window, [&window] { vex::gui::OpenVirtualControl(window); });
    if (!panelShotPath.isEmpty()) {
        QTimer::singleShot(0, &window, [&window] { vex::gui::OpenVirtualControl(window); });
        QTimer::singleShot(4000, &window, [panelShotPath, besidePath] {
            vex::gui::lcd8* panel = vex::gui::OpenPanel();
            if (!panel) {
                QCoreApplication::exit(1);
                return;
            }
            const QPixmap shot = panel->grab();
            QStringList lines;
            QFile text(besidePath);
            if (!besidePath.isEmpty() && text.open(QIODevice::ReadOnly))
                lines = QString::fromLatin1(text.readAll()).split('\n');
            const int side = lines.isEmpty() ? 0 : 660;
            QImage picture(shot.width() + side, shot.height(), QImage::Format_RGB32);
            picture.fill(QColor(0x10, 0x14, 0x18));
            QPainter painter(&picture);
            painter.drawPixmap(0, 0, shot);
            QFont mono(QStringLiteral("Monospace"));
            mono.setStyleHint(QFont::Monospace);
            mono.setPixelSize(11);
            painter.setFont(mono);
            painter.setPen(QColor(0xb8, 0xe8, 0xb0));
            const int step = QFontMetrics(mono).lineSpacing();
            for (int i = 0; i < lines.size() && 12 + (i + 1) * step < picture.height(); ++i)
                painter.drawText(shot.width() + 12, 12 + (i + 1) * step, lines[i]);
            painter.end();
            QCoreApplication::exit(picture.save(panelShotPath) ? 0 : 1);
        });
    }
    if (!screenshotPath.isEmpty()) {
        QTimer::singleShot(400, &window, [&window, screenshotPath] {
            const bool saved = window.grab().save(screenshotPath);
            // Leave without the exit questions and without writing state files.
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
