// An installation that files are imported into, read back through the viewer's own reader.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/codepage.h"
#include "import/import_run.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {

class ImportTest : public Installation {
  protected:
    // Writes an input file beside ZEPAWIN/ and returns its path.
    std::string input(const std::string& name, std::string_view bytes) const {
        const std::string path = (root / name).string();
        writeText(path, bytes);
        return path;
    }
    int import(std::vector<std::string> files, ImportOptions options = {}) {
        options.root = root.string();
        options.files = std::move(files);
        return runImport(options, report_, hooks_);
    }
    // The viewer's view of the data folder, loaded afresh.
    void reload() {
        md_ = freshData();
        load();
    }
    std::vector<std::string> dataFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(paths.dataDirectory)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    bool nothingWritten() const {
        return !fs::exists(paths.positionFile) &&
               (!fs::exists(paths.dataDirectory) || fs::is_empty(paths.dataDirectory));
    }
    static std::string cp932(std::string_view utf8) { return cp932FromUtf8(utf8); }

    ImportReport report_;
    ImportHooks hooks_;
};

}  // namespace zepa::test
