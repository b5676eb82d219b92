#include "app/web/webengineenvironment.h"

#include <QCoreApplication>
#include <QList>
#include <unistd.h>

namespace qev {

namespace {

constexpr const char* kQuietSwitches[] = {
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-domain-reliability",
    "--no-pings",
    "--no-first-run",
};

// Whether flags already name the switch, with or without a value ("--x" or "--x=...").
bool Names(const QByteArray& flags, const QByteArray& name) {
    for (const QByteArray& word : flags.simplified().split(' ')) {
        if (word == name || word.startsWith(QByteArray(name + '=')))
            return true;
    }
    return false;
}

std::optional<QByteArray> Variable(const char* name) {
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    return qgetenv(name);
}

} // namespace

WebEngineEnvironment DecideWebEngineEnvironment(const WebEngineHost& host) {
    const bool headless =
        !host.display || host.platform.startsWith("offscreen") || host.platform.startsWith("minimal");
    const bool restricted = host.root || headless;
    const QByteArray user = host.chromiumFlags.value_or(QByteArray());

    QList<QByteArray> ours;
    if (restricted)
        ours.append(QByteArrayLiteral("--disable-gpu"));
    for (const char* name : kQuietSwitches)
        ours.append(QByteArray(name));

    QByteArray flags;
    for (const QByteArray& name : ours) {
        if (Names(user, name))
            continue;
        if (!flags.isEmpty())
            flags += ' ';
        flags += name;
    }
    if (!user.trimmed().isEmpty())
        flags += ' ' + user.trimmed();

    WebEngineEnvironment env;
    if (restricted && !host.sandboxSetting)
        env.disableSandbox = QByteArrayLiteral("1");
    if (flags.trimmed() != user.trimmed())
        env.chromiumFlags = flags.trimmed();
    return env;
}

void PrepareWebEngineEnvironment() {
    WebEngineHost host;
    host.root = geteuid() == 0;
    host.display = qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    host.platform = qgetenv("QT_QPA_PLATFORM");
    host.sandboxSetting = Variable("QTWEBENGINE_DISABLE_SANDBOX");
    host.chromiumFlags = Variable("QTWEBENGINE_CHROMIUM_FLAGS");

    const WebEngineEnvironment env = DecideWebEngineEnvironment(host);
    if (env.disableSandbox)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", *env.disableSandbox);
    if (env.chromiumFlags)
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", *env.chromiumFlags);
    // Qt WebEngine shares its OpenGL context with the widgets; the attribute must precede the app.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace qev
