#pragma once

#include <QObject>
#include <QString>

namespace zarn {

class StatusLog;

// "Add to favorites": copies the playing track, and the cover picture of its folder
// under the track's own name with ".jpg", into "$  Favourites" below the music root.
//
// Contract:
// - Main thread only; the copy runs before add() returns.
// - statusChanged() carries the result texts for the random status bar (BMWpanel72).
// - Nothing is ever overwritten: a favourite of the same name and content is kept as it
//   is; a different file of that name makes the copy take the next free name
//   ("name (2).mp3"). Files arrive under a temporary name and are renamed when whole,
//   so a full disk or a read-only directory leaves nothing half-written; such a failure
//   shows the failure text and writes the reason to the status log.
class Favourites : public QObject {
    Q_OBJECT
public:
    static constexpr const char* DirectoryName = "$  Favourites";
    static constexpr const char* WorkingText = "Copy to favourites working...";
    static constexpr const char* OntoItselfText = "File can not be copied onto itself";
    static constexpr const char* FailedText = "Copy failed - Disk Full ? :-) !";

    explicit Favourites(StatusLog& log, QObject* parent = nullptr);

    static QString directory(const QString& musicRoot);
    // BMWpanel86Click. True when the track is in the favourites afterwards. An empty
    // track (nothing played yet) does nothing; an empty music root is a failure.
    bool add(const QString& currentTrack, const QString& musicRoot);

signals:
    void statusChanged(const QString& text);

private:
    bool fail(const QString& reason);

    StatusLog& log_;
};

} // namespace zarn
