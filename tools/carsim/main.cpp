// zarn-carsim: an I-Bus car on a pseudo-terminal, for Zarn's demo and end-to-end tests.

#include "carsim/CarSim.h"
#include "carsim/CarSimOptions.h"
#include "carsim/Output.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char** argv)
{
    using namespace zarn::carsim;
    Output::startClock();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zarn-carsim"));

    QString message;
    bool helpOnly = false;
    const auto options = CarSimOptions::parse(QCoreApplication::arguments(), &message, &helpOnly);
    if (!options) {
        std::fputs((message.trimmed() + QLatin1Char('\n')).toLocal8Bit().constData(), helpOnly ? stdout : stderr);
        return helpOnly ? 0 : CarSim::UsageError;
    }

    // Ctrl-C and SIGTERM end the run through the event loop, so the link is removed and
    // the terminal restored.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        std::perror("socketpair");
        return CarSim::UsageError;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    ::sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    CarSim sim(*options);
    QObject::connect(&sim, &CarSim::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QString error;
    if (!sim.start(&error)) {
        std::fputs(("zarn-carsim: " + error + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
        sim.finish();
        return CarSim::UsageError;
    }
    app.exec();
    sim.finish();
    return sim.exitStatus();
}
