#include "media/MusicListModel.h"

namespace zarn {

// Placeholder until the browser arrives: an empty list.
MusicListModel::MusicListModel(QObject* parent)
    : QObject(parent)
{
}

void MusicListModel::relist() {}
void MusicListModel::setDirectory(const QString& path) { directory_ = path; }
void MusicListModel::setMask(const QString& masks) { mask_ = masks; }
QString MusicListModel::selectedFilePath() const { return entryPath(highlighted_); }
bool MusicListModel::setHighlighted(int index) { return index >= 0 && index < count() && ((highlighted_ = index), true); }
void MusicListModel::highlightName(const QString&) {}
bool MusicListModel::isDirectory(int index) const { return index >= 0 && index < count() && entries_[index].directory; }
QString MusicListModel::entryPath(int) const { return {}; }
void MusicListModel::GoToPath(const QString&) {}

} // namespace zarn
