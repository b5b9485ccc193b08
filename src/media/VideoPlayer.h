#pragma once

#include <QObject>
#include <QString>

namespace zarn {

// The movie and camera player as the movie page and the rear camera use it: one file or
// device at a time, opened, played, paused, sought, zoomed and stopped.
//
// Contract:
//  - Main thread only: every member is called there and every signal is emitted there
//    (a backend that decodes on its own threads marshals its reports first).
//  - open() returns at once; the open state goes to Opening and, once the file plays, to
//    Open (openStateChanged, then openComplete). A file that cannot be opened reports
//    error() while the state is still Opening, then falls back to Closed.
//  - play(), pause() and stop() act only while a file is open (stop also while opening)
//    and return false when they did nothing; stop() closes the file.
//  - position() and duration() are seconds; a position written is read back at once,
//    so consecutive seeks add up even before the decoder has caught up.
//    positionChanged() follows every write.
//  - endReached() says the movie has played to its end; it stays open on its last
//    picture until stopped.
//  - keyDown() reports a key pressed on the picture.
class VideoPlayer : public QObject {
    Q_OBJECT
public:
    // The values callers compare with: 6 means open, 2 means playing.
    enum OpenState { Closed = 0, Opening = 5, Open = 6 };
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2 };

    using QObject::QObject;

    virtual void open(const QString& path) = 0;
    // Options of the player for the next open() only ("name=value,..."), e.g. a camera's
    // picture format; a player without such options ignores them.
    virtual void setNextOpenOptions(const QString& options) {}
    virtual bool play() = 0;
    virtual bool pause() = 0;
    virtual bool stop() = 0;
    virtual int openState() const = 0;
    virtual int playState() const = 0;
    virtual double duration() const = 0;
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;
    // The picture at this percentage of its fitted size (100 fits the window).
    virtual void setZoom(int percent) = 0;
    virtual int zoom() const = 0;
    // The surface reports a key pressed on the picture.
    void reportKey(int key) { emit keyDown(key); }

    // Pictures drawn by the program itself (no native window): frameReady() says a new
    // picture is due, renderFrame() draws it into 32-bit pixels laid out as
    // QImage::Format_RGB32. False when this player draws no pictures that way.
    virtual bool rendersFrames() const { return false; }
    virtual bool renderFrame(int width, int height, int stride, void* pixels) { return false; }

signals:
    void openStateChanged(int oldState, int newState);
    void positionChanged(double oldSeconds, double newSeconds);
    void error(int code, const QString& message);
    void keyDown(int key);
    void openComplete();
    void endReached();
    void frameReady();
};

} // namespace zarn
