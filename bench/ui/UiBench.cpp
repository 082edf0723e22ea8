// How fast the window is: from process start to the main window shown, and Clear and Open
// of a full configuration (all 184 entries and every text at its full length). Not a test:
// run it by hand and read the figures.
//
//   ui_bench [runs]         start-up runs itself as child processes, then times Clear/Open
//
// The platform is the one Qt finds (QT_QPA_PLATFORM=offscreen, or a display / Xvfb).
#include "config/Clear.h"
#include "config/FieldTable.h"
#include "settings/SettingsFile.h"
#include "ui/Programmer.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QWindow>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr const char* kChildFlag = "--startup-child";

long long monotonicNanos() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

// The child: the programmer's own start-up, up to the main window painted on screen.
int startupChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    rtw::ui::ProgrammerOptions options;
    options.link = rtw::ui::LinkChoice::Simulated;
    rtw::ui::Programmer programmer(options);
    programmer.start();
    QWidget& main = programmer.fMain();
    while (main.windowHandle() == nullptr || !main.windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QApplication::processEvents(); // the first paint
    std::printf("%lld\n", monotonicNanos());
    return 0;
}

// Starts this program as a child and measures the time until its window was shown.
double startupOnce(const char* self) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* childArgs[] = {const_cast<char*>(self), const_cast<char*>(kChildFlag), nullptr};
    pid_t pid = 0;
    const long long started = monotonicNanos();
    if (posix_spawn(&pid, self, &actions, nullptr, childArgs, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    close(pipeFds[1]);
    std::string out;
    char buffer[64];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.empty()) {
        std::fprintf(stderr, "the start-up child failed\n");
        std::exit(1);
    }
    return static_cast<double>(std::stoll(out) - started) / 1e6;
}

void fillFull(rtw::DeviceConfig& config) {
    int serial = 0;
    for (const rtw::FieldInfo& f : rtw::allFields()) {
        switch (f.kind) {
        case rtw::FieldKind::PhoneEntry:
        case rtw::FieldKind::DtmfCode:
            config.setText(f.id, std::to_string(10000000000000LL + ++serial));
            break;
        case rtw::FieldKind::SmsText:
            config.setText(f.id, std::string(127, static_cast<char>('a' + serial++ % 26)));
            break;
        case rtw::FieldKind::Number:
            config.setText(f.id, std::to_string(f.maximum));
            break;
        case rtw::FieldKind::Choice:
            break;
        }
    }
    config.setSelected(rtw::field::rbVST(2, rtw::field::Contact::NC), true);
}

// Time of one command: the change of the model and every control, then the repaint.
std::pair<double, double> timeCommand(const std::function<void()>& command) {
    const auto start = Clock::now();
    command();
    const auto changed = Clock::now();
    QApplication::processEvents();
    const auto painted = Clock::now();
    return {Millis(changed - start).count(), Millis(painted - start).count()};
}

void timeClearAndOpen(int runs) {
    char arg0[] = "ui_bench";
    char* argv[] = {arg0, nullptr};
    int argc = 1;
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    rtw::ui::ProgrammerOptions options;
    options.link = rtw::ui::LinkChoice::Simulated;
    options.pacedSimulation = false;
    rtw::ui::Programmer programmer(options);
    programmer.start();
    QApplication::processEvents();

    QTemporaryDir dir;
    const std::string file = QDir(dir.path()).filePath(QStringLiteral("full.pff")).toStdString();
    rtw::DeviceConfig& config = programmer.config();
    fillFull(config);
    rtw::SaveSettingsFile(config, file);
    const rtw::DeviceConfig full(config);

    std::vector<double> clearModel, clearPainted, openModel, openPainted;
    for (int i = 0; i < runs; ++i) {
        const auto [cm, cp] = timeCommand([&] { rtw::clearConfiguration(config); });
        const auto [om, op] = timeCommand([&] { rtw::OpenSettingsFile(config, file); });
        if (!config.sameValues(full)) {
            std::fprintf(stderr, "Open did not give the full configuration back\n");
            std::exit(1);
        }
        clearModel.push_back(cm);
        clearPainted.push_back(cp);
        openModel.push_back(om);
        openPainted.push_back(op);
    }
    const auto report = [](const char* what, const std::vector<double>& values) {
        const Figures f = summarise(values);
        std::printf("  %-34s median %7.2f ms   worst %7.2f ms\n", what, f.median, f.worst);
    };
    std::printf("Clear and Open of a full configuration (%d runs, target under 30 ms):\n", runs);
    report("Clear", clearModel);
    report("Clear, window repainted", clearPainted);
    report("Open", openModel);
    report("Open, window repainted", openPainted);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kChildFlag) == 0) {
        return startupChild(argc, argv);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::printf("Platform: %s\n", std::getenv("QT_QPA_PLATFORM") != nullptr
                                      ? std::getenv("QT_QPA_PLATFORM")
                                      : "Qt's default");
    std::vector<double> startup;
    startupOnce(argv[0]); // warms the file cache
    for (int i = 0; i < runs; ++i) {
        startup.push_back(startupOnce(argv[0]));
    }
    const Figures s = summarise(startup);
    std::printf("Process start to main window shown (%d runs, target under 300 ms):\n", runs);
    std::printf("  %-34s median %7.2f ms   worst %7.2f ms\n", "start-up", s.median, s.worst);
    timeClearAndOpen(runs);
    return 0;
}
