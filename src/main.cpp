#include "app/MainWindow.h"
#include "app/Version.h"
#include "core/AppDir.h"
#include "core/CommandLine.h"
#include "ui/SplashScreen.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFd[2] = {-1, -1};
// Set by the handler itself, so a close request is seen even before the event loop
// runs: a quit() asked for then (during the splash's painting, say) would be lost.
volatile sig_atomic_t g_closeRequested = 0;

void onSignal(int)
{
    g_closeRequested = 1;
    const char c = 1;
    (void)!::write(g_signalFd[0], &c, 1);
}

// SIGTERM and SIGINT end the program the way closing the window does: the handler
// only notes the request and wakes the event loop, the work happens there.
// Installed before anything else, so that no moment of the start-up takes the default
// action (which would end the program without saving).
void installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalFd) != 0)
        g_signalFd[0] = g_signalFd[1] = -1;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

// Runs before the shared libraries' initialisers and main, right after the dynamic
// loader has placed them: the close request is caught from the earliest moment a
// process can catch it. (A signal during the loader's own work still takes the default
// action; nothing has been read or written by then.)
[[gnu::section(".preinit_array"), gnu::used]] void (*const earlySignalHandlers)(int, char**, char**) =
    [](int, char**, char**) { installSignalHandlers(); };

void watchSignals()
{
    if (g_signalFd[1] < 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalFd[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char c;
        (void)!::read(g_signalFd[1], &c, 1);
        QCoreApplication::quit();
    });
}

bool closeRequested()
{
    return g_closeRequested != 0;
}

// Which default applies to this very executable, so a user can tell an installed zarn
// from one in a build tree.
QString appDirRule()
{
    const QString data = zarn::InstalledDataDir();
    if (data.isEmpty())
        return QStringLiteral("the directory of the executable, as this zarn is not installed\n"
                              "                   (it runs from its build tree or a copy)");
    return QStringLiteral("$XDG_CONFIG_HOME/zarn (~/.config/zarn), as this zarn is installed;\n"
                          "                   made on first start with the files of %1\n"
                          "                   that it lacks (the sample Zarn.ini, the pictures)")
        .arg(data);
}

void printHelp()
{
    const QString ini = zarn::AppDir() + QStringLiteral("Zarn.ini");
    std::printf(
        "Usage: zarn [SWITCH]...\n"
        "The full-screen front end of a car PC on a BMW I-Bus, worked with the car's knob and buttons.\n"
        "\n"
        "A switch counts when its name occurs anywhere in the command line, in any letter\n"
        "case, with or without a leading slash (/TRACE, trace):\n"
        "  NOSPLASH     no splash screen during start-up\n"
        "  HIGHPRIO     run at a higher priority\n"
        "  TIMERS       a status line at every timer tick\n"
        "  TRACE        the optional status lines about bus messages and actions\n"
        "  AUX          the radio's number buttons 1-6 are not used\n"
        "  TVINIT       send the television start frames 3 seconds after start\n"
        "  NOMOUSE      hide the mouse pointer\n"
        "  SAVEMEMORY   build no random play list\n"
        "  FORCESCREEN  the PC picture on the car's screen from the start (RTS on)\n"
        "  NOPGMSTOP    accepted for old launchers; it changes nothing\n"
        "\n"
        "  --help       this text\n"
        "  --version    the version\n"
        "\n"
        "Environment:\n"
        "  ZARN_HOME        the program directory (Zarn.ini, radar.bin, driverslog/, shutdown.now);\n"
        "                   when unset: %s\n"
        "  ZARN_STATUS_LOG  \"stderr\" or a file: every status line is also written there\n"
        "                   (error and warning lines always go to stderr)\n"
        "\n"
        "Settings are read from and saved to %s\n"
        "The serial device is [COM-Port] DevicePath there; when it is empty, COM1 to COM9\n"
        "(CBPort.ItemIndex 0 to 8) open /dev/ttyS0 to /dev/ttyS8.\n",
        qPrintable(appDirRule()), qPrintable(ini));
}

// The information switches, decided before anything opens a display or touches a
// file. Only whole arguments count here: the substring rule of the other switches
// would find "HELP" in a path.
bool informationOnly(int argc, char* argv[], int* rc)
{
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            printHelp();
            *rc = 0;
            return true;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("zarn %s\n", zarn::VersionText.data());
            *rc = 0;
            return true;
        }
    }
    return false;
}
} // namespace

int main(int argc, char* argv[])
{
    if (int rc = 0; informationOnly(argc, argv, &rc))
        return rc;

    // The web page's engine, loaded later, shares the window's GL contexts; Qt takes
    // this only before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    watchSignals();
    if (QString error; !zarn::SeedAppDir(&error))
        std::fprintf(stderr, "zarn: %s\n", qPrintable(error));

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

    // Nothing has been read yet: saving now would put the defaults over the user's Zarn.ini.
    if (closeRequested())
        return 0;
    zarn.FormCreate();
    int rc = 0;
    if (!closeRequested()) {
        zarn.show();
        splash.reset();
        rc = app.exec();
    }
    zarn.FormCloseQuery();
    return rc;
}
