// zepa_soak [--seconds S] [--interval-sample N]: the viewer's window steps automatically through
// the 5,000 positions of the large installation at the shortest interval the settings allow,
// starting over at the first position whenever it reaches the last, for S seconds; resident
// memory is sampled every N. Exit 0 when memory stays flat after the first minute, 1 when it
// grows, 2 on a usage or set-up error.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/startup.h"
#include "app/window/frame_window.h"
#include "bench/large_installation.h"
#include "platform/qsettings_value_store.h"
#include "settings/chart_values.h"

namespace zepa {
namespace {

// Settings below one tenth of a second are replaced by the default when they are read.
constexpr int32_t kShortestAutoStepInterval = 1;
constexpr const char* kLastPositionText = "最後の銘柄です";
constexpr int kFirstMinute = 60;
constexpr long kAllowedGrowthKiB = 2048;

constexpr const char* kUsage =
    "usage: zepa_soak [--seconds S] [--interval-sample N]\n"
    "Steps automatically through a large generated installation for S seconds (default 600)\n"
    "and samples resident memory every N seconds (default 10). Fails when memory grows by\n"
    "2 MB or more after the first minute.\n";

// The offscreen platform notes every size-hint change of a window; thousands of steps would bury
// the curve in them.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message != QLatin1String("This plugin does not support propagateSizeHints()")) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

struct Options {
    int seconds = 600;
    int sampleSeconds = 10;
};

bool parsePositive(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc{} && at == end && value > 0;
}

// False after printing why.
bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        int* target = arg == "--seconds"           ? &o.seconds
                      : arg == "--interval-sample" ? &o.sampleSeconds
                                                   : nullptr;
        if (target == nullptr || i + 1 >= argc || !parsePositive(argv[++i], *target)) {
            std::fprintf(stderr, "zepa_soak: bad argument %s\n%s", argv[i], kUsage);
            return false;
        }
    }
    // A day at most, so that the period in milliseconds fits a timer's.
    if (o.sampleSeconds > 86400) {
        std::fprintf(stderr, "zepa_soak: --interval-sample must be at most 86400\n");
        return false;
    }
    // The judgement compares the end with the first minute's sample: both must exist.
    if (o.seconds < kFirstMinute + o.sampleSeconds) {
        std::fprintf(stderr, "zepa_soak: --seconds must be at least %d (a minute and a sample)\n",
                     kFirstMinute + o.sampleSeconds);
        return false;
    }
    return true;
}

// VmRSS of this process in kB, -1 when it cannot be read.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:")) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

struct Sample {
    int seconds = 0;
    long steps = 0;
    long rssKiB = 0;
};

// Drives the shown window: answers the end-of-list box, starts stepping again from the first
// position whenever it has stopped, and samples memory until the time is up.
class Soak {
  public:
    Soak(AppContext& a, FrameWindow& window, const Options& o) : a_(a), window_(window), o_(o) {
        QObject::connect(&boxes_, &QTimer::timeout, [this] { answerBox(); });
        QObject::connect(&driver_, &QTimer::timeout, [this] { restartIfStopped(); });
        QObject::connect(&sampler_, &QTimer::timeout, [this] { sample(); });
    }

    void run() {
        boxes_.start(10);
        driver_.start(50);
        sampler_.start(o_.sampleSeconds * 1000);
        restartIfStopped();
        QApplication::exec();
    }

    const std::vector<Sample>& samples() const { return samples_; }
    const std::vector<std::string>& otherBoxes() const { return otherBoxes_; }

  private:
    long stepsSoFar() const { return finishedSteps_ + a_.view.currentPosition; }

    void answerBox() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            const std::string text = box->text().toStdString();
            if (text != kLastPositionText) {
                otherBoxes_.push_back(text);
            }
            box->accept();
        }
    }

    void restartIfStopped() {
        if (a_.view.autoStepActive == 1 || QApplication::activeModalWidget() != nullptr ||
            window_.isClosed()) {
            return;
        }
        finishedSteps_ += a_.view.currentPosition;
        QTest::keyClick(window_.windowHandle(), Qt::Key_Home);
        QTest::keyClick(window_.windowHandle(), Qt::Key_Backspace);
    }

    void sample() {
        const Sample s{static_cast<int>(samples_.size() + 1) * o_.sampleSeconds, stepsSoFar(),
                       residentKiB()};
        samples_.push_back(s);
        std::printf("%6d s %10ld steps %10ld kB\n", s.seconds, s.steps, s.rssKiB);
        std::fflush(stdout);
        if (s.seconds >= o_.seconds) {
            boxes_.stop();
            driver_.stop();
            sampler_.stop();
            window_.close();
            QApplication::quit();
        }
    }

    AppContext& a_;
    FrameWindow& window_;
    const Options o_;
    QTimer boxes_, driver_, sampler_;
    long finishedSteps_ = 0;
    std::vector<Sample> samples_;
    std::vector<std::string> otherBoxes_;
};

// The curve's summary and the verdict; true when it passes.
bool judge(const std::vector<Sample>& samples, const std::vector<std::string>& otherBoxes) {
    const Sample* minute = nullptr;
    long peakAfterMinute = 0;
    for (const Sample& s : samples) {
        if (minute == nullptr && s.seconds >= kFirstMinute) {
            minute = &s;
        }
        if (minute != nullptr) {
            peakAfterMinute = std::max(peakAfterMinute, s.rssKiB);
        }
    }
    if (minute == nullptr || minute->rssKiB < 0 || samples.back().rssKiB < 0) {
        std::printf("zepa_soak: FAIL: no memory sample after the first minute\n");
        return false;
    }
    const Sample& end = samples.back();
    const long growth = end.rssKiB - minute->rssKiB;
    std::printf(
        "\nRSS at %d s: %ld kB; at the end (%d s): %ld kB; growth after the first minute: %+ld "
        "kB (peak %+ld kB); steps: %ld\n",
        minute->seconds, minute->rssKiB, end.seconds, end.rssKiB, growth,
        peakAfterMinute - minute->rssKiB, end.steps);
    for (const std::string& text : otherBoxes) {
        std::printf("zepa_soak: unexpected message: %s\n", text.c_str());
    }
    const bool flat = growth < kAllowedGrowthKiB;
    const bool stepped = end.steps > 0 && otherBoxes.empty();
    std::printf("target: flat after the first minute, under 2 MB growth: %s%s\n",
                flat && stepped ? "PASS" : "FAIL",
                stepped ? "" : " (stepping did not run cleanly)");
    return flat && stepped;
}

}  // namespace
}  // namespace zepa

int main(int argc, char** argv) {
    using namespace zepa;
    Options options;
    if (!parseOptions(argc, argv, options)) {
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);

    const char* tmp = std::getenv("TMPDIR");
    std::string scratch = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/zepa_soak.XXXXXX";
    if (::mkdtemp(scratch.data()) == nullptr) {
        std::fprintf(stderr, "zepa_soak: cannot make a folder from %s\n", scratch.c_str());
        return 2;
    }
    const auto removeScratch = [&] {
        std::error_code ec;
        std::filesystem::remove_all(scratch, ec);
    };
    LargeInstallation installation;
    std::string failed;
    if (!writeLargeInstallation(scratch + "/install", LargeInstallationShape{}, installation,
                                failed)) {
        std::fprintf(stderr, "zepa_soak: cannot write %s\n", failed.c_str());
        removeScratch();
        return 2;
    }

    bool passed = false;
    {
        // The user's own settings neither steer the run nor change; no editor ever opens.
        QSettingsValueStore store(scratch + "/settings.ini");
        store.writeValue(kMenuSubkey, "EDITOR", "true");
        AppContext a;
        a.clockSeconds = [] { return static_cast<int64_t>(std::time(nullptr)); };
        if (startViewer(a, installation.root, store) != StartupOutcome::Ready) {
            std::fprintf(stderr, "zepa_soak: the viewer cannot start on %s\n",
                         installation.root.c_str());
            removeScratch();
            return 2;
        }
        a.settings.autoStepInterval = kShortestAutoStepInterval;
        auto window = std::make_unique<FrameWindow>(a);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) {
            std::fprintf(stderr, "zepa_soak: the window was not shown\n");
            removeScratch();
            return 2;
        }
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) {
            std::fprintf(stderr, "zepa_soak: the window did not become active\n");
            removeScratch();
            return 2;
        }
        std::printf("zepa_soak: %d positions, a step every %d ms, %d s, a sample every %d s\n",
                    a.positions.positionCount, a.settings.autoStepInterval * 100, options.seconds,
                    options.sampleSeconds);
        std::printf("%8s %16s %13s\n", "elapsed", "positions", "RSS");
        Soak soak(a, *window, options);
        soak.run();
        passed = judge(soak.samples(), soak.otherBoxes());
        window.reset();
        shutDownViewer(a);
    }
    removeScratch();
    return passed ? 0 : 1;
}
