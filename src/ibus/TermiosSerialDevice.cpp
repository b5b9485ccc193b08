#include "ibus/TermiosSerialDevice.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zarn {

namespace {

SerialResult failure(SerialError error, int osError = errno)
{
    return SerialResult{error, osError};
}

// Errors after which the device file is of no further use.
bool isGone(int osError)
{
    return osError == EIO || osError == ENXIO || osError == ENODEV || osError == EBADF;
}

SerialResult ioFailure(SerialError otherwise)
{
    const int e = errno;
    return failure(isGone(e) ? SerialError::Vanished : otherwise, e);
}

SerialParity parityOf(const termios& t)
{
    if (!(t.c_cflag & PARENB))
        return SerialParity::None;
    return (t.c_cflag & PARODD) ? SerialParity::Odd : SerialParity::Even;
}

// Everything of want except the parity: speed, character size, stop bits, no flow
// control, raw input and output, reads that return at once.
bool holdsLine(const termios& held, const termios& want)
{
    constexpr tcflag_t iflags = IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR
        | IGNCR | ICRNL | IXON | IXOFF | IXANY;
    constexpr tcflag_t cflags = CSIZE | CSTOPB | CREAD | CLOCAL | CRTSCTS;
    constexpr tcflag_t lflags = ECHO | ECHONL | ICANON | ISIG | IEXTEN;
    return (held.c_iflag & iflags) == (want.c_iflag & iflags)
        && (held.c_oflag & OPOST) == (want.c_oflag & OPOST)
        && (held.c_cflag & cflags) == (want.c_cflag & cflags)
        && (held.c_lflag & lflags) == (want.c_lflag & lflags)
        && ::cfgetispeed(&held) == ::cfgetispeed(&want) && ::cfgetospeed(&held) == ::cfgetospeed(&want)
        && held.c_cc[VMIN] == want.c_cc[VMIN] && held.c_cc[VTIME] == want.c_cc[VTIME];
}

} // namespace

TermiosSerialDevice::TermiosSerialDevice()
    : wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

TermiosSerialDevice::~TermiosSerialDevice()
{
    close();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

SerialResult TermiosSerialDevice::open(const QString& path, SerialParity parity)
{
    if (fd_ >= 0)
        close();
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        return failure(SerialError::Open, ENOENT);
    int fd;
    do
        fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failure(SerialError::Open);
    if (!::isatty(fd)) {
        ::close(fd);
        return failure(SerialError::Open, ENOTTY);
    }
    // Exclusive use; root may still open it, which is not worth failing over.
    ::ioctl(fd, TIOCEXCL);

    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        const int e = errno;
        ::close(fd);
        return failure(SerialError::Configure, e);
    }
    ::cfmakeraw(&t);
    t.c_iflag &= ~tcflag_t(INPCK | IGNPAR | PARMRK | IXON | IXOFF | IXANY | IGNBRK | BRKINT);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL | HUPCL; // HUPCL: a crash still lowers RTS
    if (parity == SerialParity::Even)
        t.c_cflag |= PARENB;
    else if (parity == SerialParity::Odd)
        t.c_cflag |= PARENB | PARODD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    // What counts is what the driver holds afterwards, not what tcsetattr says: a driver
    // drops what it cannot do (a pseudo-terminal drops PARENB), and a request in which
    // nothing else changes is then refused with EINVAL, as on every second opening of
    // a pseudo-terminal.
    const int setError = ::tcsetattr(fd, TCSANOW, &t) == 0 ? 0 : errno;
    termios held{};
    if (::tcgetattr(fd, &held) != 0 || !holdsLine(held, t)) {
        const int e = setError ? setError : EINVAL;
        ::close(fd);
        return failure(SerialError::Configure, e);
    }
    lineParity_ = parityOf(held);
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    haveCounters_ = readCounters();
    return {};
}

SerialResult TermiosSerialDevice::close()
{
    if (fd_ < 0)
        return {};
    ::tcflush(fd_, TCIOFLUSH);
    const int rc = ::close(fd_);
    const int e = errno;
    fd_ = -1;
    haveCounters_ = false;
    lineParity_ = SerialParity::None;
    // EINTR from close still releases the descriptor on Linux.
    if (rc != 0 && e != EINTR)
        return failure(SerialError::Close, e);
    return {};
}

SerialResult TermiosSerialDevice::setModemLine(int line, bool high)
{
    if (fd_ < 0)
        return failure(SerialError::NotOpen, EBADF);
    int bits = line;
    if (::ioctl(fd_, high ? TIOCMBIS : TIOCMBIC, &bits) != 0)
        return failure(SerialError::ModemLine);
    return {};
}

SerialResult TermiosSerialDevice::setRts(bool high)
{
    return setModemLine(TIOCM_RTS, high);
}

SerialResult TermiosSerialDevice::setDtr(bool high)
{
    return setModemLine(TIOCM_DTR, high);
}

SerialResult TermiosSerialDevice::write(const char* data, qsizetype size, qsizetype* written)
{
    *written = 0;
    if (fd_ < 0)
        return failure(SerialError::NotOpen, EBADF);
    while (*written < size) {
        const ssize_t n = ::write(fd_, data + *written, size_t(size - *written));
        if (n > 0) {
            *written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break; // the queue is full: the rest is written later
        if (n == 0)
            break;
        return ioFailure(SerialError::Write);
    }
    return {};
}

SerialResult TermiosSerialDevice::bytesWaiting(int* count)
{
    *count = 0;
    if (fd_ < 0)
        return failure(SerialError::NotOpen, EBADF);
    if (::ioctl(fd_, FIONREAD, count) != 0)
        return ioFailure(SerialError::Status);
    return {};
}

SerialResult TermiosSerialDevice::read(QByteArray* out, int maxBytes)
{
    if (fd_ < 0)
        return failure(SerialError::NotOpen, EBADF);
    if (maxBytes <= 0)
        return {};
    const qsizetype start = out->size();
    out->resize(start + maxBytes);
    ssize_t n;
    do
        n = ::read(fd_, out->data() + start, size_t(maxBytes));
    while (n < 0 && errno == EINTR);
    if (n < 0) {
        out->resize(start);
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return {};
        return ioFailure(SerialError::Read);
    }
    // With VMIN = 0 a read of nothing is not an end of file; hang-ups show in wait().
    out->resize(start + n);
    return {};
}

bool TermiosSerialDevice::readCounters()
{
    serial_icounter_struct c{};
    if (fd_ < 0 || ::ioctl(fd_, TIOCGICOUNT, &c) != 0)
        return false;
    frame_ = c.frame;
    overrun_ = c.overrun;
    parity_ = c.parity;
    brk_ = c.brk;
    bufOverrun_ = c.buf_overrun;
    return true;
}

unsigned TermiosSerialDevice::takeLineErrors()
{
    if (!haveCounters_)
        return 0;
    const unsigned long frame = frame_, overrun = overrun_, parity = parity_, brk = brk_,
                        bufOverrun = bufOverrun_;
    if (!readCounters())
        return 0;
    unsigned errors = 0;
    if (bufOverrun_ != bufOverrun)
        errors |= LineInputOverrun;
    if (overrun_ != overrun)
        errors |= LineHardwareOverrun;
    if (parity_ != parity)
        errors |= LineParity;
    if (frame_ != frame)
        errors |= LineFraming;
    if (brk_ != brk)
        errors |= LineBreak;
    return errors;
}

SerialResult TermiosSerialDevice::wait(int timeoutMs, bool readable, bool writable)
{
    if (fd_ < 0)
        return failure(SerialError::NotOpen, EBADF);
    pollfd fds[2] = {};
    fds[0].fd = fd_;
    // Hang-ups are reported even with no events asked for.
    fds[0].events = short((readable ? POLLIN : 0) | (writable ? POLLOUT : 0));
    fds[1].fd = wakeFd_;
    fds[1].events = POLLIN;
    const int n = ::poll(fds, wakeFd_ >= 0 ? 2 : 1, timeoutMs);
    if (n < 0)
        return errno == EINTR ? SerialResult{} : failure(SerialError::Wait);
    if (wakeFd_ >= 0 && (fds[1].revents & POLLIN)) {
        eventfd_t value;
        ::eventfd_read(wakeFd_, &value);
    }
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
        return failure(SerialError::Vanished, EIO);
    return {};
}

void TermiosSerialDevice::wake()
{
    if (wakeFd_ >= 0)
        ::eventfd_write(wakeFd_, 1);
}

} // namespace zarn
