// Start-up and shutdown of the viewer in their fixed order, as plain steps the entry point
// runs around the window's life.
#pragma once

#include <string>

#include "app/app_context.h"
#include "app/shell.h"

namespace zepa {

enum class StartupOutcome {
    Ready,                // data and settings loaded: create the window
    PositionFileMissing,  // show positionFileAbsentMessage (no owner), exit 0
    DataError,            // show dataErrorMessage (no owner, fatal caption), exit 0
};

// Paths from the working directory at start-up (root), the colour reset, the price databases,
// the correction list and the per-user settings. Nothing is written.
StartupOutcome startViewer(AppContext& a, const std::string& root, ValueStore& store);

// After the event loop: remember the position on show, release the data, then save SayaMode
// and COLOR_SY.
void shutDownViewer(AppContext& a);

// The position file check of start-up and of the editor command.
bool positionFilePresent(const InstallationPaths& paths);

// Opens the position file in the editor, or with the desktop's default application where there
// is none or it does not start; says so when neither opened it. Returns 0 when the file is
// missing (the caller has shown the message), 1 when a launch was attempted.
int editPositionFile(AppContext& a, Shell& shell);
// The editor: EDITOR under MENU, or the context's default (empty: the desktop's application).
std::string editorProgram(const AppContext& a);
// "<editor> <position file>", or empty when there is no editor to start.
std::string editorCommandLine(const AppContext& a);

// Picks a tip line: returns the number of tip lines (-1 when the file cannot be opened) and
// sets statusText to a blank followed by the chosen line (CP932).
int pickTipLine(const std::string& tipFile, int64_t seconds, std::string& statusText);

}  // namespace zepa
