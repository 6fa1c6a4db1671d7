#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

namespace vex {
namespace {

constexpr int kMaxLinks = 40;  // as the system allows in one path
constexpr std::size_t kSuffixLength = 6;
constexpr std::string_view kSuffixCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

WriteResult Failure(int error) {
    return {false, std::strerror(error)};
}
WriteResult Failure(FileProblem problem) {
    return {false, ProblemReason(problem)};
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The hidden temporary's name: ".NAME." and six letters or digits.
std::string TemporaryPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

bool IsTemporaryOf(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kSuffixLength || !name.starts_with(prefix)) return false;
    for (const char c : name.substr(prefix.size()))
        if (kSuffixCharacters.find(c) == std::string_view::npos) return false;
    return true;
}

// Temporaries of this file that an interrupted save left behind. Younger ones may belong to a
// save running right now in another program and are left alone.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
    std::error_code ec;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!IsTemporaryOf(it->path().filename().string(), prefix)) continue;
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || it->is_symlink(entryError)) continue;
        const auto modified = it->last_write_time(entryError);
        if (entryError || now - modified < kStaleTemporaryAge) continue;
        std::filesystem::remove(it->path(), entryError);
    }
}

// Creates the temporary with the given mode (the umask applies), never over an existing file.
int CreateTemporary(const std::filesystem::path& folder, const std::string& prefix, mode_t mode,
                    std::string& name) {
    static thread_local std::mt19937_64 random{std::random_device{}() ^
                                               static_cast<std::uint64_t>(::getpid())};
    std::uniform_int_distribution<std::size_t> pick(0, kSuffixCharacters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        for (std::size_t i = 0; i < kSuffixLength; ++i) suffix += kSuffixCharacters[pick(random)];
        name = (folder / (prefix + suffix)).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool IsReadOnly(const std::filesystem::path& target, const struct stat& info) {
    // Mode bits decide for every user (the superuser could write anyway); access() decides for
    // the others, e.g. a file of another user.
    if ((info.st_mode & 0222) == 0) return true;
    return ::access(target.c_str(), W_OK) != 0 && errno == EACCES;
}

// The folder's entry of the renamed file reaches the disk too.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::filesystem::path WriteTarget(const std::filesystem::path& path) {
    std::filesystem::path target = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) break;
        const std::filesystem::path link = std::filesystem::read_symlink(target, ec);
        if (ec) break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
    const std::filesystem::path target = WriteTarget(path);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");

    // A new file is made as the user's umask allows; a replaced one keeps its permissions.
    bool replacing = false;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return Failure(FileProblem::Folder);
        if (!S_ISREG(existing.st_mode)) return Failure(FileProblem::NotPlain);
        if (IsReadOnly(target, existing)) return Failure(FileProblem::ReadOnly);
        replacing = true;
    } else if (errno != ENOENT) {
        return Failure(errno);
    }

    const std::string prefix = TemporaryPrefix(target);
    RemoveStaleTemporaries(folder, prefix);
    std::string temporary;
    const int fd = CreateTemporary(folder, prefix, replacing ? 0600 : 0666, temporary);
    if (fd < 0) return Failure(errno);
    if (replacing) ::fchmod(fd, existing.st_mode & 07777);

    if (!WriteAll(fd, content) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return Failure(error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failure(error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failure(error);
    }
    SyncFolder(folder);
    return {true, {}};
}

}  // namespace vex
