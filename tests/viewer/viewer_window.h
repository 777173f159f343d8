// The real main window offscreen, shown and active, over the viewer fixture's installation.
#pragma once

#include <QTest>

#include <memory>

#include "app/window/frame_window.h"
#include "settings/chart_values.h"
#include "tests/app/viewer_fixture.h"
#include "tests/support/box_answerer.h"

namespace zepa::test {

struct ViewerWindow : Viewer {
    void show(const std::string& positions, QSize size = {900, 600}) {
        write(paths.positionFile, positions);
        store.set(kMenuSubkey, "EDITOR", "true");  // so that no test opens a real editor
        ASSERT_EQ(startViewer(a, root.string(), store), StartupOutcome::Ready);
        window = std::make_unique<FrameWindow>(a);
        window->resize(size);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    BoxAnswerer boxes;
    std::unique_ptr<FrameWindow> window;
};

}  // namespace zepa::test
