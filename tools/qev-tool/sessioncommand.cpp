#include "audio/device/qtaudiodevice.h"
#include "common/pumpwait.h"
#include "common/settingsstore.h"
#include "session/codec/linecodec.h"
#include "session/hostclientfacts.h"
#include "session/procsdm.h"
#include "session/sessiontweaks.h"
#include "tools/qev-tool/commands.h"
#include "tools/qev-tool/sessioneventprinter.h"
#include "tools/qev-tool/sessioninput.h"

#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace qev {

namespace {

constexpr int kStdinChunk = 4096;

struct SessionArgs {
    QByteArray server;
    QByteArray id;
    QByteArray password;
    bool audio = false; // play the lane's live audio on the default sound device
};

bool ParseArgs(QByteArrayList args, SessionArgs& out) {
    out.audio = args.removeAll("--audio") > 0;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--server")
            out.server = args[i + 1];
        else if (args[i] == "--id")
            out.id = args[i + 1];
        else if (args[i] == "--password")
            out.password = args[i + 1];
        else
            return false;
    }
    return args.size() % 2 == 0 && !out.server.isEmpty() && !out.id.isEmpty();
}

// SIGINT and SIGTERM become readable events on a descriptor, so the event loop ends the session
// cleanly instead of the process dying mid-dialogue. Restores the signal mask when done.
class StopSignals {
public:
    StopSignals() {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGINT);
        sigaddset(&m_set, SIGTERM);
        sigprocmask(SIG_BLOCK, &m_set, &m_previous);
        m_fd = signalfd(-1, &m_set, SFD_NONBLOCK | SFD_CLOEXEC);
    }
    ~StopSignals() {
        if (m_fd >= 0)
            close(m_fd);
        sigprocmask(SIG_SETMASK, &m_previous, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    int Fd() const { return m_fd; }

private:
    sigset_t m_set{};
    sigset_t m_previous{};
    int m_fd = -1;
};

} // namespace

int RunSessionCommand(ToolContext& context) {
    SessionArgs args;
    if (!ParseArgs(context.args, args)) {
        context.err.write("usage: qev-tool session --server HOST:PORT --id ID --password PW [--audio]\n");
        return 2;
    }
    StopSignals stopSignals;
    SessionEventPrinter printer(context.out);
    // The window's output and channel; without --audio the output has no device and stays silent.
    TProcsDm dm(std::make_unique<HostClientFacts>(),
                args.audio ? std::make_unique<QtAudioDevice>() : nullptr);
    {
        // Read only: the tool never creates the user's store.
        QSettings user(SettingsStore::defaultPaths().userFile, QSettings::IniFormat);
        LoadSessionTweaks(dm, user);
    }
    printer.Attach(dm);

    const auto refused = [&] {
        printer.Print({{QStringLiteral("result"), QStringLiteral("refused")},
                       {QStringLiteral("code"), dm.LastNoticeCode()}});
        return 1;
    };
    // As the login screen does it: the trimmed ID, the password as typed.
    const QByteArray id = args.id.trimmed();
    dm.SetMemberNumber(id);
    if (!dm.SignIn(args.server, LineCipher(id), LineCipher(args.password))) {
        if (dm.LastNoticeCode() != 0)
            return refused();
        context.err.write("qev-tool session: cannot sign in to " + args.server + " (HOST:PORT expected)\n");
        return 2;
    }
    PumpWait([&] { return dm.State() == ssOffline || dm.State() == ssInSession; });
    if (dm.State() != ssInSession)
        return refused();
    dm.SelectSite(dm.FirstSiteName());
    printer.PrintSiteInformation(dm);
    dm.ConnectLanes(rcNB);
    if (args.audio)
        dm.SetAudioWanted(true);

    QEventLoop loop;
    SessionInput input(dm, [&printer](const QJsonObject& o) { printer.Print(o); });
    QObject::connect(&dm, &QObject::destroyed, &loop, &QEventLoop::quit);
    std::unique_ptr<QSocketNotifier> stdinWatch;
    auto* file = qobject_cast<QFile*>(&context.in);
    if (file && file->handle() >= 0) {
        stdinWatch = std::make_unique<QSocketNotifier>(file->handle(), QSocketNotifier::Read);
        QObject::connect(stdinWatch.get(), &QSocketNotifier::activated, &loop, [&] {
            char buffer[kStdinChunk];
            const ssize_t n = read(file->handle(), buffer, sizeof buffer);
            if (n <= 0 || !input.Feed(QByteArrayView(buffer, n))) {
                stdinWatch->setEnabled(false);
                loop.quit();
            }
        });
    }
    std::unique_ptr<QSocketNotifier> signalWatch;
    if (stopSignals.Fd() >= 0) {
        signalWatch = std::make_unique<QSocketNotifier>(stopSignals.Fd(), QSocketNotifier::Read);
        QObject::connect(signalWatch.get(), &QSocketNotifier::activated, &loop, [&] {
            signalfd_siginfo info{};
            (void)!read(stopSignals.Fd(), &info, sizeof info);
            loop.quit();
        });
    }
    // A session that ends on its own (a refusal from a lane, say) ends the tool too.
    const auto previous = dm.OnSessionStateChanged;
    dm.OnSessionStateChanged = [&](TProcsDm& m, TSessionState o, TSessionState n) {
        previous(m, o, n);
        if (n == ssOffline)
            loop.quit();
    };
    // Input that is not a descriptor (a buffer) has already ended; its commands run at once.
    if (stdinWatch)
        loop.exec();
    else
        input.Feed(context.in.readAll());

    if (dm.State() != ssInSession && dm.LastNoticeCode() != 0)
        return refused();
    dm.OnSessionStateChanged = previous;
    dm.Shutdown();
    if (!dm.SignOutSent()) {
        // The server never heard of it (gone, or the sign-out deadline passed): say so.
        printer.Print({{QStringLiteral("result"), QStringLiteral("sign-out-failed")}});
        return 3;
    }
    printer.Print({{QStringLiteral("result"), QStringLiteral("signed-out")}});
    return 0;
}

} // namespace qev
