#include "app/MainWindow.h"
#include "core/AppDir.h"
#include "core/CommandLine.h"
#include "ui/SplashScreen.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFd[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    (void)!::write(g_signalFd[0], &c, 1);
}

// SIGTERM and SIGINT end the program the way closing the window does: the handler
// only wakes the event loop, the work happens there.
void installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFd) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalFd[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char c;
        (void)!::read(g_signalFd[1], &c, 1);
        QCoreApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installSignalHandlers();

    zarn::MainController::Environment env;
    env.arguments = QCoreApplication::arguments();
    env.appDir = zarn::AppDir();

    std::unique_ptr<zarn::SplashScreen> splash;
    if (!zarn::CommandLine(env.arguments).has("NOSPLASH")) {
        splash = std::make_unique<zarn::SplashScreen>();
        splash->show();
        splash->repaint();
    }
    QApplication::setApplicationName(QStringLiteral("Zarn"));
    zarn::MainWindow zarn(env, splash.get());

    const QString mirror = qEnvironmentVariable("ZARN_STATUS_LOG");
    QString error;
    if (!mirror.isEmpty() && !zarn.core().log().setMirror(mirror, &error))
        std::fprintf(stderr, "zarn: cannot write the status log to %s: %s\n", qPrintable(mirror), qPrintable(error));

    zarn.FormCreate();
    zarn.window().show();
    splash.reset();
    const int rc = app.exec();
    zarn.FormCloseQuery();
    return rc;
}
