// Vexatron: the BCT8 programming application.
//   vexatron [--dir FOLDER] [FILE.mem]
// --dir names the program folder (settings, state, logs, backups); by default it is the
// per-user data folder. A MEM file named on the command line is opened at start.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

#include "gui/memtab.h"
#include "gui/startup.h"
#include "platform/program_folder.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vexatron");
    QApplication::setApplicationVersion("0.1");

    const QStringList args = QApplication::arguments();
    QString openPath;
    QString screenshotPath;  // not advertised: used to make the picture in the docs
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == "--dir" || arg == "--screenshot") {
            if (i + 1 < args.size() && arg == "--screenshot") screenshotPath = args[i + 1];
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            QTextStream(stdout) << "Usage: vexatron [--dir FOLDER] [FILE.mem]\n"
                                   "  --dir FOLDER  program folder for settings, state and "
                                   "backups\n";
            return 0;
        } else if (!arg.startsWith("--")) {
            // Absolute, so lastfile.ini can reopen it from any working folder.
            openPath = QFileInfo(arg).absoluteFilePath();
        }
    }

    vex::gui::AppState state;
    const vex::gui::StartupOutcome outcome =
        vex::gui::LoadStartupState(vex::ProgramFolder(args), state);
    if (!outcome.ok) {
        QMessageBox::critical(nullptr, QStringLiteral("Vexatron"),
                              QString::fromLatin1(outcome.message.c_str()));
        return 1;
    }

    vex::gui::DialogPrompter prompter;
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
    if (!screenshotPath.isEmpty()) {
        QTimer::singleShot(400, &window, [&window, screenshotPath] {
            const bool saved = window.grab().save(screenshotPath);
            // Leave without the exit questions and without writing state files.
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
