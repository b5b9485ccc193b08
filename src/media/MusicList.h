#pragma once

#include <QString>

namespace zarn {

// The music list as the player walks it: the entries of one directory in list order,
// at most one of them highlighted. Main thread only.
class MusicList {
public:
    virtual ~MusicList() = default;

    virtual int count() const = 0;
    // -1 when nothing is highlighted.
    virtual int highlighted() const = 0;
    // False, and the highlight unchanged, when the index is out of range.
    virtual bool setHighlighted(int index) = 0;
    // Highlights the entry whose text equals this file name (name and extension, letter
    // case ignored); the highlight stays as it is when no entry has that text.
    virtual void highlightName(const QString& fileName) = 0;
    // A directory entry (shown as "»  name"), not a file.
    virtual bool isDirectory(int index) const = 0;
    // The full path of a file entry, or of the directory a directory entry names;
    // empty when the index is out of range.
    virtual QString entryPath(int index) const = 0;
    // Shows a directory, or a file's directory with the file highlighted.
    virtual void GoToPath(const QString& path) = 0;
};

} // namespace zarn
