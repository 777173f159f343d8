// Where the viewer's files live. The folder that was current at start-up stands for the
// drive root of the Windows layout: <root>/ZEPAWIN/...
#pragma once

#include <string>

namespace zepa {

struct InstallationPaths {
    std::string root;            // absolute
    std::string zepawin;         // <root>/ZEPAWIN
    std::string dataDirectory;   // <root>/ZEPAWIN/DATA
    std::string positionFile;    // <root>/ZEPAWIN/ZEPA_SPW.DAT
    std::string correctionFile;  // <root>/ZEPAWIN/HOSEI.DAT
    std::string tipFile;         // <root>/ZEPAWIN/KOKOROE.TXT
    std::string helpDirectory;   // <root>/ZEPAWIN/HELP
};

InstallationPaths makeInstallationPaths(const std::string& root);

// "<ZEPAWIN folder><separator> に ZEPA_SPW.DAT  が、ありません"
std::string positionFileAbsentMessage(const InstallationPaths& paths);

}  // namespace zepa
