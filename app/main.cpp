// qevreal: the dealer's window. One instance per user; the window shows itself and runs the
// launch sequence, then the login screen.
#include "app/centerform.h"
#include "app/instancelock.h"
#include "app/messagedialogs.h"
#include "app/web/webengineenvironment.h"
#include "app/web/webenginewebpane.h"
#include "audio/device/qtaudiodevice.h"
#include "audio/device/qteffectvoice.h"
#include "common/settingsstore.h"
#include "skin/fontsetup.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace qev;

namespace {

// An exception that reaches the event loop is swallowed: a dealer never sees an exception
// dialog, and the session carries on through its own timers.
class QevApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            return false;
        }
    }
};

// Ctrl+C or a stop request ends the program as a quiet close does: pending confirmations are
// answered, the session signs out and the cache is emptied. The handler only writes a byte.
int g_signalPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

bool WatchStopSignals() {
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char** argv) {
    PrepareWebEngineEnvironment();
    QevApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qevreal"));
    QApplication::setApplicationDisplayName(ApplicationTitle());
    const InstanceLock instance;
    if (!instance.Acquired())
        return 0; // a second start ends silently
    InstallFontSubstitutions();
    SettingsStore settings;
    TCenterForm::Services services;
    services.settings = &settings;
    services.makeWebPane = [](QWidget* parent) -> std::unique_ptr<WebPane> {
        return std::make_unique<WebEngineWebPane>(parent);
    };
    services.makeAudioDevice = []() -> std::unique_ptr<AudioDevice> {
        return std::make_unique<QtAudioDevice>();
    };
    services.effectVoices = QtEffectVoice::Factory();
    services.screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1280, 1024);
    TCenterForm window(std::move(services));
    std::unique_ptr<QSocketNotifier> stop;
    if (WatchStopSignals()) {
        stop = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        QObject::connect(stop.get(), &QSocketNotifier::activated, &window, [&window] {
            char drained[16];
            while (::read(g_signalPipe[0], drained, sizeof drained) > 0) {
            }
            window.PostQuietClose();
        });
    }
    window.show();
    return QApplication::exec();
}
