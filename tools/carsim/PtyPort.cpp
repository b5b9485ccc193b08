#include "carsim/PtyPort.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace zarn::carsim {

namespace {
constexpr int PeerPollMs = 20;

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

PtyPort::PtyPort(const QString& linkPath, QObject* parent)
    : QObject(parent)
    , linkPath_(linkPath)
{
    peerPoll_.setInterval(PeerPollMs);
    connect(&peerPoll_, &QTimer::timeout, this, &PtyPort::checkPeer);
    comeBack_.setSingleShot(true);
    comeBack_.setTimerType(Qt::PreciseTimer);
    connect(&comeBack_, &QTimer::timeout, this, [this] {
        QString error;
        if (open(&error))
            emit reappeared();
        else
            emit failed(error);
    });
}

PtyPort::~PtyPort()
{
    blockSignals(true);
    close();
}

bool PtyPort::open(QString* error)
{
    close();
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || ::ptsname_r(fd, name, sizeof name) != 0) {
        *error = systemError("pseudo-terminal setup");
        ::close(fd);
        return false;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    // A master whose slave was never opened does not report the hang-up; opening and
    // closing the slave once makes it report "nobody there" until the program opens it.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave >= 0)
        ::close(slave);

    fd_ = fd;
    slavePath_ = QString::fromLocal8Bit(name);
    connected_ = false;
    if (!linkPath_.isEmpty() && !pointLink(error)) {
        close();
        return false;
    }
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    notifier_->setEnabled(false);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyPort::readAvailable);
    peerPoll_.start();
    checkPeer();
    return true;
}

void PtyPort::close()
{
    comeBack_.stop();
    peerPoll_.stop();
    if (notifier_) {
        // close() may run inside the notifier's own signal.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    removeLink();
    if (connected_) {
        connected_ = false;
        emit peerClosed();
    }
}

void PtyPort::vanish(qint64 ms)
{
    close();
    emit vanished();
    comeBack_.start(int(qMax<qint64>(0, ms)));
}

qsizetype PtyPort::write(const QByteArray& bytes)
{
    if (fd_ < 0 || !connected_)
        return -1;
    const ssize_t n = ::write(fd_, bytes.constData(), size_t(bytes.size()));
    if (n >= 0)
        return n;
    if (errno == EAGAIN)
        return 0;
    lostPeer();
    return -1;
}

void PtyPort::readAvailable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            emit bytesReceived(QByteArray(buffer, int(n)));
            if (fd_ < 0)
                return; // a receiver closed the port
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // EIO or end of file: the program closed the port.
        lostPeer();
        return;
    }
}

void PtyPort::checkPeer()
{
    if (fd_ < 0)
        return;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0 || (p.revents & POLLHUP))
        return;
    connected_ = true;
    peerPoll_.stop();
    notifier_->setEnabled(true);
    emit peerOpened();
}

void PtyPort::lostPeer()
{
    if (notifier_)
        notifier_->setEnabled(false);
    if (fd_ >= 0)
        peerPoll_.start();
    if (connected_) {
        connected_ = false;
        emit peerClosed();
    }
}

bool PtyPort::pointLink(QString* error)
{
    // Replace the link in one step, so the program never finds it missing or half made;
    // never replace anything but a link of our own kind.
    const QFileInfo existing(linkPath_);
    if (existing.exists() && !existing.isSymLink()) {
        *error = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath_);
        return false;
    }
    const QByteArray link = QFile::encodeName(linkPath_);
    const QByteArray temp = link + ".carsim-" + QByteArray::number(::getpid());
    ::unlink(temp.constData());
    if (::symlink(QFile::encodeName(slavePath_).constData(), temp.constData()) != 0
        || ::rename(temp.constData(), link.constData()) != 0) {
        *error = systemError("creating the link");
        ::unlink(temp.constData());
        return false;
    }
    linkMade_ = true;
    return true;
}

void PtyPort::removeLink()
{
    if (!linkMade_)
        return;
    linkMade_ = false;
    const QFileInfo link(linkPath_);
    if (link.isSymLink() && link.symLinkTarget() == slavePath_)
        QFile::remove(linkPath_);
}

} // namespace zarn::carsim
