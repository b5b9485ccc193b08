#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class PlainPanel;

// Page 4, the music browser: back and up items, the filter line with "Make Random
// List", the character keys, and the status strip `FilterInfo`. The list itself comes
// with the music library browser, and with it the page's input: the list's knob steps
// and press, and the long knob press.
class MusicPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MusicPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // Selects every list entry whose text is this file name (the now-playing page is
    // being shown). Never fails toward the caller; without a list nothing happens.
    void selectPlayingFile(const QString& fileName) {}

private:
    PlainPanel* filterInfo_;
};

} // namespace zarn
