#include "fuzz/viewer_session.h"

#include <array>

#include "app/frame_handlers.h"
#include "app/startup.h"
#include "fuzz/scratch_installation.h"
#include "fuzz/session_shell.h"

namespace zepa::fuzz {

namespace {

// Keys of the key table, Ctrl+0 among them, and a few it ignores.
constexpr std::array<int, 19> kKeys = {8,  13, 27, 32,  33,  34, 36, 37, 38,  39,
                                       40, 46, 48, 112, 'C', 65, 0,  9,  0xFF};
// Menu and toolbar commands; the output commands and help open nothing here.
constexpr std::array<int, 27> kCommands = {100, 101, 102, 103, 110, 111, 112, 120, 121,
                                           122, 123, 150, 200, 201, 202, 210, 250, 251,
                                           252, 253, 254, 255, 256, 257, 258, 260, 151};
constexpr int kMaxEvents = 400;

void dispatch(AppContext& a, SessionShell& shell, FuzzInput& in) {
    switch (in.pick(12)) {
        case 0:
        case 1:
        case 2:
            onKey(a, shell, kKeys[static_cast<size_t>(in.pick(kKeys.size()))], in.pick(4) == 0);
            break;
        case 3:
        case 4: {
            const int id = kCommands[static_cast<size_t>(in.pick(kCommands.size()))];
            onCommand(a, shell, id, id == 210 ? in.byte() - 8 : -1);
            break;
        }
        case 5:
            onMouseMove(a, shell, in.u16() % 3000 - 100, in.u16() % 2000 - 100);
            break;
        case 6:
            onLeftButtonDown(a, shell);
            break;
        case 7:
            onRightButtonDown(a, shell);
            break;
        case 8:
            onLeftDoubleClick(a, shell, in.u16() % 3000 - 100, in.u16() % 2000 - 100);
            break;
        case 9:
            onTimer(a, shell, in.flag() ? kAutoStepTimer : kNoPositionTimer);
            break;
        case 10:
            onFocusLost(a, shell);
            break;
        default:
            shell.paint();
            break;
    }
}

}  // namespace

int runViewerSession(FuzzInput& in, ValueStore& store) {
    const ScratchInstallation& s = scratchInstallation();
    AppContext a;
    a.clockSeconds = [] { return int64_t{1700000000}; };
    if (startViewer(a, s.root, store) != StartupOutcome::Ready) {
        releaseMarketData(a.md);
        return -1;
    }
    SessionShell shell(a, in);
    onCreate(a, shell);
    shell.paint();
    for (int i = 0; i < kMaxEvents && !in.empty() && !shell.ended(); ++i) {
        dispatch(a, shell, in);
    }
    onDestroy(a, shell);
    shutDownViewer(a);
    return shell.chartPaints();
}

}  // namespace zepa::fuzz
