#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class MusicListModel;
class PlainPanel;

// Page 4, the music browser: back and up items, the filter line with "Make Random
// List", the character keys, the list `BMWListbox1` and the status strip `FilterInfo`.
// The page owns the list's input (its knob steps and press, the long knob press) and
// draws the model it is given. Main thread only.
class MusicPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MusicPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // The entries shown; not owned. Until one is set the list is empty.
    void setModel(MusicListModel* model);

    // Selects every list entry whose text is this file name (the now-playing page is
    // being shown). Never fails toward the caller; without a list nothing happens.
    void selectPlayingFile(const QString& fileName) {}

signals:
    // A file entry was clicked (or pressed with the knob): play it.
    void playRequested(const QString& path);

private:
    PlainPanel* filterInfo_;
    MusicListModel* model_ = nullptr;
};

} // namespace zarn
