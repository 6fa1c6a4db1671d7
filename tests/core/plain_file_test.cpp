// Reading and writing files where something else stands in the file's place: a folder, a pipe,
// a device, a link, a read-only file. Nothing blocks, nothing throws, nothing is replaced that
// is not a plain file, and the reason is told in words.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "core/atomic_file.h"
#include "core/plain_file.h"
#include "core/temp_folder.h"

namespace vex {
namespace {

using test::TempFolder;

using test::ReadText;

// What stands at the path before a read or a write.
struct Stand {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
    FileProblem readProblem;
    FileProblem writeProblem;
    std::string reason;
};

void MakeFolder(const std::filesystem::path& p) {
    std::filesystem::create_directory(p);
}
void MakeFifo(const std::filesystem::path& p) {
    ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
}
void MakeReadOnly(const std::filesystem::path& p) {
    ASSERT_TRUE(WriteFileAtomically(p, "old").ok);
    std::filesystem::permissions(p, std::filesystem::perms::owner_read);
}

class InThePlace : public ::testing::TestWithParam<Stand> {};

TEST_P(InThePlace, ReadIsRefusedWithTheReason) {
    TempFolder folder;
    const auto path = folder / "file";
    GetParam().make(path);
    std::string content = "left over";
    const FileOutcome read = ReadPlainFile(path, content, 1000);
    EXPECT_EQ(read.problem, GetParam().readProblem);
    EXPECT_EQ(read.reason, GetParam().reason);
    EXPECT_EQ(content.empty(), !read.ok());
}

TEST_P(InThePlace, WriteIsRefusedAndLeavesItAlone) {
    TempFolder folder;
    const auto path = folder / "file";
    GetParam().make(path);
    const auto before = std::filesystem::status(path).type();
    const WriteResult written = WriteFileAtomically(path, "new");
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, ProblemReason(GetParam().writeProblem));
    EXPECT_EQ(std::filesystem::status(path).type(), before);
    // Nothing is left behind beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, InThePlace,
    ::testing::Values(
        Stand{"Folder", MakeFolder, FileProblem::Folder, FileProblem::Folder, "it is a folder"},
        Stand{"Pipe", MakeFifo, FileProblem::NotPlain, FileProblem::NotPlain,
              "it is not a plain file (a device, a pipe or a socket)"},
        Stand{"ReadOnlyFile", MakeReadOnly, FileProblem::None, FileProblem::ReadOnly, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlainFileRead, MissingDeviceAndTooLarge) {
    TempFolder folder;
    std::string content;
    EXPECT_EQ(ReadPlainFile(folder / "none", content, 1000).reason, "it does not exist");
    // A device would be read for ever.
    EXPECT_EQ(ReadPlainFile("/dev/zero", content, 1000).problem, FileProblem::NotPlain);
    ASSERT_TRUE(WriteFileAtomically(folder / "big", std::string(1001, 'x')).ok);
    EXPECT_EQ(ReadPlainFile(folder / "big", content, 1000).reason, "it is too large (1001 bytes)");
    EXPECT_TRUE(ReadPlainFile(folder / "big", content, 1001).ok());
    EXPECT_EQ(content.size(), 1001u);
}

TEST(AtomicWrite, FollowsALinkToItsTarget) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "real");
    ASSERT_TRUE(WriteFileAtomically(folder / "real" / "a.mem", "old").ok);
    std::filesystem::create_symlink("real/a.mem", folder / "relative.mem");
    std::filesystem::create_symlink(folder / "relative.mem", folder / "chain.mem");
    ASSERT_TRUE(WriteFileAtomically(folder / "chain.mem", "new").ok);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "chain.mem"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "relative.mem"));
    EXPECT_EQ(ReadText(folder / "real" / "a.mem"), "new");
    // A link to nothing makes its target.
    std::filesystem::create_symlink("real/b.mem", folder / "dangling.mem");
    ASSERT_TRUE(WriteFileAtomically(folder / "dangling.mem", "b").ok);
    EXPECT_EQ(ReadText(folder / "real" / "b.mem"), "b");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "dangling.mem"));
}

mode_t ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

TEST(AtomicWrite, NewFileFollowsTheUmaskAReplacedOneKeepsItsMode) {
    TempFolder folder;
    const mode_t saved = ::umask(027);
    const WriteResult fresh = WriteFileAtomically(folder / "new.ini", "x");
    ::umask(saved);
    ASSERT_TRUE(fresh.ok);
    EXPECT_EQ(ModeOf(folder / "new.ini"), 0640u);
    ::chmod((folder / "new.ini").c_str(), 0604);
    ASSERT_TRUE(WriteFileAtomically(folder / "new.ini", "y").ok);
    EXPECT_EQ(ModeOf(folder / "new.ini"), 0604u);
}

TEST(AtomicWrite, StaleTemporariesOfTheSameFileAreRemoved) {
    TempFolder folder;
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    const std::vector<std::string> stale = {".a.mem.Xy12z9", ".a.mem.000000"};
    const std::vector<std::string> kept = {".a.mem.Xy12z", ".b.mem.Xy12z9", "a.mem.Xy12z9",
                                           ".a.mem.Xy-2z9", ".a.mem.fresh1"};
    for (const auto& name : stale) ASSERT_TRUE(WriteFileAtomically(folder / name, "x").ok);
    for (const auto& name : kept) ASSERT_TRUE(WriteFileAtomically(folder / name, "x").ok);
    for (const auto& name : stale) std::filesystem::last_write_time(folder / name, old);
    for (const auto& name : kept)
        if (name != ".a.mem.fresh1") std::filesystem::last_write_time(folder / name, old);
    ASSERT_TRUE(WriteFileAtomically(folder / "a.mem", "content").ok);
    for (const auto& name : stale) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    EXPECT_EQ(ReadText(folder / "a.mem"), "content");
}

}  // namespace
}  // namespace vex
