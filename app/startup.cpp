// Start-up and shutdown of the viewer, and the link to the external text editor.
#include "app/startup.h"

#include <filesystem>
#include <system_error>

#include "app/editor_message.h"
#include "app/last_position.h"
#include "settings/chart_values.h"
#include "settings/settings_persistence.h"

namespace zepa {

namespace {
constexpr size_t kEditorCommandLimit = 79;  // characters

// The first `limit` characters of UTF-8 text, never splitting one.
std::string firstCharacters(const std::string& text, size_t limit) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && characters++ == limit) {
            return text.substr(0, i);
        }
    }
    return text;
}
}  // namespace

StartupOutcome startViewer(AppContext& a, const std::string& root, ValueStore& store) {
    a.paths = makeInstallationPaths(root);
    a.store = &store;
    // The values every run starts with; the store's settings replace some of them below.
    a.view = ViewState{};
    a.settings = ChartSettings{};
    a.positions.positionCount = 0;
    if (!positionFilePresent(a.paths)) {
        return StartupOutcome::PositionFileMissing;
    }
    resetColorTable(a.colors);
    resetSpreadColors(a.colors);
    a.md.dataDirectory = a.paths.dataDirectory;
    if (scanPriceDatabases(a.md) != DataError::None ||
        loadPriceDatabases(a.md) != DataError::None) {
        return StartupOutcome::DataError;
    }
    loadCorrectionList(a.paths.correctionFile, a.corrections);
    loadChartSettings(store, a.settings, a.colors);
    return StartupOutcome::Ready;
}

void shutDownViewer(AppContext& a) {
    // A candidate only borrows the lower pane and the ratio period: the user's are stored.
    leaveCandidate(a);
    rememberShownPosition(a);
    releaseMarketData(a.md);
    releasePairSeries(a.series);
    if (a.store != nullptr) {
        saveChartSettings(*a.store, a.settings, a.colors);
    }
}

bool positionFilePresent(const InstallationPaths& paths) {
    // Anything of that name counts, a directory included.
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::status(paths.positionFile, ec));
}

std::string editorProgram(const AppContext& a) {
    if (a.store != nullptr) {
        std::string stored = queryChartValue(*a.store, kMenuSubkey, "EDITOR");
        // A value of blanks and quotes names no program: the position file would become the
        // program to start (and run, where data files are executable). It counts as empty.
        if (stored.find_first_not_of(" \t\"") != std::string::npos) {
            return firstCharacters(stored, kEditorCommandLimit);
        }
    }
    return a.defaultEditor;
}

std::string editorCommandLine(const AppContext& a) {
    const std::string editor = editorProgram(a);
    if (editor.empty()) {
        return {};
    }
    // A folder name with a blank (common outside Windows drive roots) would split the path
    // into two arguments; quoted, it stays one for the command-line splitter.
    const std::string& file = a.paths.positionFile;
    return editor + " " + (file.find(' ') == std::string::npos ? file : "\"" + file + "\"");
}

int editPositionFile(AppContext& a, Shell& shell) {
    if (!positionFilePresent(a.paths)) {
        return 0;
    }
    const std::string commandLine = editorCommandLine(a);
    if (!commandLine.empty() && shell.startProcess(commandLine)) {
        return 1;
    }
    if (!shell.openWithDesktop(a.paths.positionFile)) {
        shell.messageBox(editorUnavailableMessage(a.paths.positionFile, editorProgram(a)),
                         kEditorCaption, MessageIcon::Exclamation);
    }
    return 1;
}

}  // namespace zepa
