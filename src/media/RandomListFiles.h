#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace zarn {

// The file work behind the random list, free of Qt's event loop so it can run on any
// thread: the recursive search for music files, and reading and writing the list file.
// Every function touches only its arguments; `stop` may be set from another thread.
namespace RandomListFiles {

// The kinds the search collects, in the order the list holds them.
inline const QStringList Extensions{QStringLiteral(".mp3"), QStringLiteral(".wma"), QStringLiteral(".ogg")};

struct SearchResult {
    QStringList found;        // every .mp3 of the tree, then every .wma, then every .ogg
    int unreadableFolders = 0; // folders that could not be opened
    int unusableNames = 0;     // names that are not valid in the system's encoding
    bool stopped = false;      // the stop request ended the search before its end
    bool rootUnreadable = false; // the starting directory itself is missing or closed
};

// Depth first from `directory` (no trailing "/" needed): in each folder its own matches
// (letter case of the extension ignored, directories named like music files included)
// come before those of its sub-folders; folders and names in byte order. Directory links
// are followed, each folder visited once, so a link loop ends. `progress` is called on
// the searching thread now and then with the number found so far.
SearchResult search(const QString& directory, const std::atomic<bool>& stop,
                    const std::function<void(int found)>& progress = {});

struct ReadResult {
    QStringList entries;
    int skipped = 0;          // lines that name no usable file
    bool openFailed = false;
    bool readFailed = false;  // a read error ended the file early; entries hold what came before
    QString error;
};

// One entry a line, CR LF or LF ended, UTF-8. A line is kept when it is an absolute path
// in valid UTF-8 of something that exists; every other line (garbage, overlong, empty,
// missing file, other encodings) is counted in `skipped`.
ReadResult read(const QString& path, const std::atomic<bool>& stop);

// Replaces the file whole: written beside it under a temporary name, flushed to disk,
// then renamed over it. On failure the old file stays and `error` says why.
bool write(const QString& path, const QStringList& entries, QString* error);

} // namespace RandomListFiles
} // namespace zarn
