#pragma once

#include "media/MusicList.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

namespace zarn {

// The entries of one directory as the music and movie lists show them: the
// sub-directories ("»" + two blanks + name) and the files that match the mask, sorted
// case-insensitively by their text, "." and ".." never among them; at most one entry
// highlighted. Paths are absolute Linux paths without a trailing "/" (except "/"),
// compared as the file system does (letter case counts). Relative paths are resolved
// against the directory shown; the process's current directory is never changed, since
// other threads and every relative path of the program would follow it.
// A directory that does not exist or cannot be read lists nothing. Sockets, pipes,
// devices and dangling links are never listed: none of them can be played.
//
// Contract: main thread only; changed() follows every change of directory, mask or
// entries, highlightChanged() every change of the highlight. Nothing is mandatory to
// connect; the model never touches a widget.
class MusicListModel : public QObject, public MusicList {
    Q_OBJECT
public:
    struct Entry {
        QString text;      // what the list shows
        bool directory = false;
        bool operator==(const Entry&) const = default;
    };

    static constexpr const char* DirectoryMark = "\u00bb  "; // "»" and two blanks
    static constexpr const char* MusicMask = "*.;*.mp3;*.wma;*.ogg";
    static constexpr const char* MovieMask = "*.;*.avi;*.mpg;*.mpeg;*.dat;*.vob;*.wmv";

    explicit MusicListModel(QObject* parent = nullptr);

    QString directory() const { return directory_; }
    QString mask() const { return mask_; }
    const QVector<Entry>& entries() const { return entries_; }

    // Reads the directory again with the current mask (one read of the directory).
    void relist();
    // Shows this directory (resolved, if it differs from the one shown) and relists.
    void setDirectory(const QString& path);
    // Patterns separated by ";", letter case ignored; "*" and "?" are wildcards and a
    // pattern ending in "." matches names without an extension ("*."). A different mask
    // is stored and the list read again.
    void setMask(const QString& masks);
    // Both at once, with a single read when either changes.
    void setDirectoryAndMask(const QString& path, const QString& masks);
    // The absolute, cleaned form of a path ("..", "." and doubled or trailing "/"
    // removed), relative paths taken from the directory shown.
    QString resolvedPath(const QString& path) const;
    // Whether a name matches one pattern of a mask.
    static bool matchesPattern(const QString& name, const QString& pattern);
    // Directory + "/" + the highlighted entry's text; empty when none is highlighted.
    QString selectedFilePath() const;

    // MusicList
    int count() const override { return int(entries_.size()); }
    int highlighted() const override { return highlighted_; }
    bool setHighlighted(int index) override;
    void highlightName(const QString& fileName) override;
    bool isDirectory(int index) const override;
    QString entryPath(int index) const override;
    void GoToPath(const QString& path) override;

signals:
    void changed();
    void highlightChanged();

private:
    QString joined(const QString& name) const;

    QString directory_;
    QString mask_;
    QVector<Entry> entries_;
    int highlighted_ = -1;
};

} // namespace zarn
