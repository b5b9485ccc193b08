#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class PlainPanel;

// Page 4, the music browser: back and up items, the filter line with "Make Random
// List", the character keys, and the status strip `FilterInfo`. The list itself comes
// with the music library browser.
class MusicPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MusicPage(QWidget* parent = nullptr);
    void applyDocking() override;

private:
    PlainPanel* filterInfo_;
};

} // namespace zarn
