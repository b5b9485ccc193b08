#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace zarn::carsim {

// The car's end of the bus interface: the master side of a pseudo-terminal pair. The
// program opens the slave side (or the symbolic link to it) as its serial port.
//
// Whether the program has the slave open is read from the master: it reports a hang-up
// while no one does. Frames written then would wait in the pty and reach the program as
// stale bytes when it opens the port, so write() refuses them, as a bus with no listener
// loses them. All members are used on the thread that created the object.
class PtyPort : public QObject {
    Q_OBJECT
public:
    explicit PtyPort(const QString& linkPath = {}, QObject* parent = nullptr);
    ~PtyPort() override;

    bool open(QString* error);
    void close();
    // The interface is unplugged for ms milliseconds: the master closes (the program's
    // port reads fail), the link goes away; then a new pair opens and the link points to it.
    void vanish(qint64 ms);

    // The number of bytes written: fewer when the pty's buffer is full (the program does
    // not read), -1 while the program does not have the port open.
    qsizetype write(const QByteArray& bytes);

    QString slavePath() const { return slavePath_; }
    QString linkPath() const { return linkPath_; }
    // The path the program should open: the link if there is one.
    QString devicePath() const { return linkPath_.isEmpty() ? slavePath_ : linkPath_; }
    bool isOpen() const { return fd_ >= 0; }
    bool peerConnected() const { return connected_; }

signals:
    void bytesReceived(const QByteArray& bytes);
    void peerOpened();
    void peerClosed();
    void vanished();
    void reappeared();
    void failed(const QString& error);

private:
    void readAvailable();
    void checkPeer();
    void lostPeer();
    bool pointLink(QString* error);
    void removeLink();

    QString linkPath_;
    QString slavePath_;
    int fd_ = -1;
    bool connected_ = false;
    bool linkMade_ = false;
    QSocketNotifier* notifier_ = nullptr;
    QTimer peerPoll_;
    QTimer comeBack_;
};

} // namespace zarn::carsim
