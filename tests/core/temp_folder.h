// A fresh folder under the system's temporary folder, removed again with everything in it.
// Free of any test framework, so that the window and end-to-end tests share it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "core/plain_file.h"

namespace vex::test {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vex-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) d_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (d_path.empty()) return;
        std::filesystem::permissions(d_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(d_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return d_path; }
    std::filesystem::path operator/(const std::string& name) const { return d_path / name; }

  private:
    std::filesystem::path d_path;
};

// The whole text of a file the code under test wrote; a failed read gives a text no test expects.
inline std::string ReadText(const std::filesystem::path& path) {
    std::string content;
    return ReadWholeFile(path, content) ? content : "(cannot read " + path.string() + ")";
}

}  // namespace vex::test
