#include "PtyPair.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace zarn::test {

PtyPair::PtyPair()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        close();
        return;
    }
    termios t{};
    if (tcgetattr(master_, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(master_, TCSANOW, &t);
    }
    slavePath_ = QString::fromLocal8Bit(ptsname(master_));
}

PtyPair::~PtyPair()
{
    close();
}

void PtyPair::close()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

bool PtyPair::write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else {
            pollfd p{master_, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0)
                return false;
        }
    }
    return done == bytes.size();
}

QByteArray PtyPair::read(int timeoutMs, int until)
{
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (master_ >= 0 && (until < 0 || out.size() < until)) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, int(left)) <= 0)
            break;
        char buf[4096];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0)
            out.append(buf, n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            // No slave open (EIO): wait a little for the program to open it.
            ::poll(nullptr, 0, 10);
    }
    return out;
}

QByteArray PtyPair::readUntil(const QByteArray& needle, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (!out.contains(needle) && clock.elapsed() < timeoutMs)
        out += read(int(qMin<qint64>(100, timeoutMs - clock.elapsed())), 1);
    return out;
}

} // namespace zarn::test
