#include "core/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace vex {
namespace {

FileOutcome Problem(FileProblem problem, std::uintmax_t size = 0) {
    return {problem, ProblemReason(problem, size)};
}

FileOutcome SystemError(int error) {
    if (error == ENOENT) return Problem(FileProblem::Missing);
    if (error == EISDIR) return Problem(FileProblem::Folder);
    return {FileProblem::System, std::strerror(error)};
}

// What a stat result says against reading the file.
FileOutcome CheckKind(const struct stat& info, std::uintmax_t maxSize) {
    if (S_ISDIR(info.st_mode)) return Problem(FileProblem::Folder);
    if (!S_ISREG(info.st_mode)) return Problem(FileProblem::NotPlain);
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > maxSize) return Problem(FileProblem::TooLarge, size);
    return {};
}

FileOutcome ReadOpened(int fd, std::string& content, std::uintmax_t maxSize) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return SystemError(errno);
    // The name may have been replaced between the look and the open.
    if (FileOutcome kind = CheckKind(info, maxSize); !kind) return kind;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return SystemError(errno);
        }
        if (got == 0) return {};
        // A file that grows while it is read (a log, a file under /proc) is cut off here.
        if (content.size() + static_cast<std::size_t>(got) > maxSize)
            return Problem(FileProblem::TooLarge, content.size() + static_cast<std::size_t>(got));
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace

std::string ProblemReason(FileProblem problem, std::uintmax_t size) {
    switch (problem) {
        case FileProblem::None:
            return {};
        case FileProblem::Missing:
            return "it does not exist";
        case FileProblem::Folder:
            return "it is a folder";
        case FileProblem::NotPlain:
            return "it is not a plain file (a device, a pipe or a socket)";
        case FileProblem::TooLarge:
            return "it is too large (" + std::to_string(size) + " bytes)";
        case FileProblem::ReadOnly:
            return "it is read-only";
        case FileProblem::System:
            break;
    }
    return "it cannot be used";
}

FileOutcome ReadPlainFile(const std::filesystem::path& path, std::string& content,
                          std::uintmax_t maxSize) {
    content.clear();
    // Looked at before it is opened: opening a device or a pipe can block or have effects.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return SystemError(errno);
    if (FileOutcome kind = CheckKind(info, maxSize); !kind) return kind;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return SystemError(errno);
    FileOutcome outcome;
    try {
        content.reserve(static_cast<std::size_t>(info.st_size));
        outcome = ReadOpened(fd, content, maxSize);
    } catch (const std::bad_alloc&) {
        outcome = Problem(FileProblem::TooLarge, static_cast<std::uintmax_t>(info.st_size));
    }
    ::close(fd);
    if (!outcome) content.clear();
    return outcome;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& content) {
    return ReadPlainFile(path, content, kMaxDocumentSize).ok();
}

}  // namespace vex
