#include "platform/program_folder.h"

#include <QStandardPaths>
#include <system_error>

namespace vex {

std::filesystem::path ProgramFolder(const QStringList& arguments) {
    std::filesystem::path folder;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == "--dir" && i + 1 < arguments.size()) {
            folder = arguments[i + 1].toStdString();
            break;
        }
        if (arg.startsWith("--dir=")) {
            folder = arg.mid(6).toStdString();
            break;
        }
    }
    if (folder.empty()) {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        folder = std::filesystem::path(base.toStdString()) / "vexatron";
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace vex
