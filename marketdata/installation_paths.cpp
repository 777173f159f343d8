#include "marketdata/installation_paths.h"

#include <filesystem>
#include <system_error>

namespace zepa {

InstallationPaths makeInstallationPaths(const std::string& root) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path base = fs::absolute(fs::path(root.empty() ? "." : root), ec);
    if (ec) {
        base = fs::path(root);
    }
    base = base.lexically_normal();
    if (base.has_filename() == false && base.has_parent_path() && base != base.root_path()) {
        base = base.parent_path();  // drop a trailing separator
    }
    fs::path zepawin = base / "ZEPAWIN";
    InstallationPaths paths;
    paths.root = base.string();
    paths.zepawin = zepawin.string();
    paths.dataDirectory = (zepawin / "DATA").string();
    paths.positionFile = (zepawin / "ZEPA_SPW.DAT").string();
    paths.correctionFile = (zepawin / "HOSEI.DAT").string();
    paths.tipFile = (zepawin / "KOKOROE.TXT").string();
    paths.helpDirectory = (zepawin / "HELP").string();
    return paths;
}

std::string positionFileAbsentMessage(const InstallationPaths& paths) {
    return paths.zepawin + static_cast<char>(std::filesystem::path::preferred_separator) +
           " に ZEPA_SPW.DAT  が、ありません";
}

}  // namespace zepa
