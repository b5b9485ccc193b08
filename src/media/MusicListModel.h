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
// highlighted. Paths are absolute Linux paths without a trailing "/" (except "/").
// A directory that does not exist or cannot be read lists nothing.
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

    // Reads the directory again with the current mask.
    void relist();
    // Shows this directory (a different one, letter case ignored) and relists.
    void setDirectory(const QString& path);
    // Patterns separated by ";", letter case ignored; "*." matches names without an
    // extension. A different mask is stored and the list read again.
    void setMask(const QString& masks);
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
    QString directory_;
    QString mask_;
    QVector<Entry> entries_;
    int highlighted_ = -1;
};

} // namespace zarn
