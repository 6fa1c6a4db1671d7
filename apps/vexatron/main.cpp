// Vexatron: the BCT8 programming application.
//   vexatron [--dir FOLDER] [--help] [--version] [FILE.mem]
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
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line.h"
#include "core/version.h"
#include "gui/icons.h"
#include "gui/lcd8.h"
#include "gui/memtab.h"
#include "mainwin/startup.h"
#include "platform/program_folder.h"

namespace {

constexpr vex::CliOption kOptions[] = {
    vex::kHelpOption,
    vex::kVersionOption,
    {"dir", 0, "FOLDER", "program folder for settings, state and backups"},
    // Not advertised: they make the pictures in the docs.
    {"screenshot", 0, "FILE", {}},
    {"screenshot-panel", 0, "FILE", {}},
    {"screenshot-beside", 0, "FILE", {}},
};

// The toolkit's own options, which it takes out of the line itself; those with a value.
bool IsToolkitOption(std::string_view arg, bool& takesValue) {
    if (arg.starts_with("--")) arg.remove_prefix(1);
    static constexpr std::string_view kWithValue[] = {
        "-platform",    "-platformpluginpath", "-platformtheme", "-plugin",  "-qwindowgeometry",
        "-qwindowicon", "-qwindowtitle",       "-session",       "-display", "-geometry",
        "-style",       "-stylesheet",         "-qmljsdebugger"};
    static constexpr std::string_view kFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                                  "-sync"};
    for (std::string_view name : kWithValue)
        if (arg == name || (arg.starts_with(name) && arg[name.size()] == '=')) {
            takesValue = arg == name;
            return true;
        }
    for (std::string_view name : kFlags)
        if (arg == name) {
            takesValue = false;
            return true;
        }
    return false;
}

// The line without the toolkit's options: what this program has to understand.
std::vector<std::string> OwnArguments(int argc, char** argv) {
    std::vector<std::string> own;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            own.insert(own.end(), argv + i, argv + argc);
            break;
        }
        bool takesValue = false;
        if (IsToolkitOption(arg, takesValue)) {
            if (takesValue) ++i;
            continue;
        }
        own.emplace_back(arg);
    }
    return own;
}

}  // namespace

int main(int argc, char** argv) {
    // Understood before any window: help, the version and mistakes print without a display.
    const vex::CliArgs cli = vex::ParseCommandLine(OwnArguments(argc, argv), kOptions);
    if (cli.has(vex::kHelpOption.name)) {
        std::printf(
            "Usage: vexatron [--dir FOLDER] [FILE.mem]\n"
            "The BCT8 programming application; opens FILE.mem when it is given.\n\n"
            "Options:\n%s",
            vex::OptionList(kOptions).c_str());
        return 0;
    }
    std::string problem = cli.error;
    if (problem.empty() && cli.positional.size() > 1)
        problem = "only one MEM file can be opened, not '" + cli.positional[1] + "' too";
    if (!problem.empty()) {
        std::fprintf(stderr, "vexatron: %s; see \"vexatron --help\"\n", problem.c_str());
        return 2;
    }
    const std::string version(vex::ProgramVersion());
    if (cli.has(vex::kVersionOption.name)) {
        std::printf("vexatron %s\n", version.c_str());
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Vexatron");
    QApplication::setApplicationVersion(QString::fromStdString(version));
    vex::gui::setUpApplicationIdentity();

    const auto qtext = [&cli](std::string_view name) {
        return QString::fromLocal8Bit(cli.value(name).value_or(std::string()));
    };
    QStringList folderArgs;
    if (const auto dir = cli.value("dir")) folderArgs << "--dir" << QString::fromLocal8Bit(*dir);
    QString openPath;
    // Absolute, so lastfile.ini can reopen it from any working folder.
    if (!cli.positional.empty())
        openPath = QFileInfo(QString::fromLocal8Bit(cli.positional[0])).absoluteFilePath();
    const QString screenshotPath = qtext("screenshot");
    const QString panelShotPath = qtext("screenshot-panel");
    const QString besidePath = qtext("screenshot-beside");  // the simulator's trace beside it

    vex::gui::DialogPrompter prompter;
    vex::AppState state;
    const vex::StartupOutcome outcome =
        vex::LoadStartupState(vex::ProgramFolder(folderArgs), state);
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
            vex::gui::Lcd8* panel = vex::gui::OpenPanel();
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
