// zepa_spw: the spread chart viewer. Start-up, the main window's life and shutdown, in their
// fixed order; the folder it is started in stands for the drive its files live on.
#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/startup.h"
#include "app/window/frame_window.h"
#include "app/window/qt_japanese.h"
#include "marketdata/data_error.h"
#include "platform/qsettings_value_store.h"
#include "settings/chart_values.h"

namespace {

// The start-up failures' box: no owner window, the exclamation icon.
void showStartupError(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(zepa::kErrorCaption),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

int64_t secondsNow() {
    return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zepa::installQtJapanese(app);

    zepa::AppContext a;
    a.clockSeconds = secondsNow;
    std::error_code ec;
    // The desktop menu starts the viewer with --home: its installation is then ~/ZEPAWIN,
    // whatever folder the launcher happens to start programs in.
    if (QCoreApplication::arguments().contains(QStringLiteral("--home"))) {
        std::filesystem::current_path(QDir::homePath().toStdString(), ec);
    }
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    const std::string root = ec ? std::string(".") : cwd.string();

    zepa::QSettingsValueStore store;
    switch (zepa::startViewer(a, root, store)) {
        case zepa::StartupOutcome::PositionFileMissing:
            showStartupError(zepa::positionFileAbsentMessage(a.paths));
            return 0;
        case zepa::StartupOutcome::DataError:
            // The text already says that the program stops; nothing is written.
            showStartupError(zepa::dataErrorMessage(a.md.dataError, a.paths.dataDirectory));
            return 0;
        case zepa::StartupOutcome::Ready:
            break;
    }

    auto window = std::make_unique<zepa::FrameWindow>(a);
    if (window->endedByDataError()) {
        return 0;
    }
    // Closing the main window ends the program, whatever other windows are open.
    QObject::connect(
        window.get(), &zepa::FrameWindow::windowClosed, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    // Only now is the stored placement read and applied: the window's creation has not been
    // recording its own moves and sizes, so it cannot have overwritten it.
    zepa::WindowPlacement placement;
    if (zepa::parsePlacement(zepa::queryChartValue(store, zepa::kChartSubkey, "Size_SY"),
                             placement)) {
        window->restorePlacement(placement);
    }
    window->setPlacementRecording(true);
    // For start-up timing: quit once the first chart is on the screen.
    window->setCloseAfterFirstChart(qEnvironmentVariable("ZEPA_SPW_EXIT_AFTER_FIRST_PAINT") ==
                                    QLatin1String("1"));
    window->show();
    app.exec();

    const bool dataError = window->endedByDataError();
    window.reset();
    if (!dataError) {
        zepa::shutDownViewer(a);
    }
    return 0;
}
