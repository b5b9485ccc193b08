#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

// Page 14, sound effects: back item and " Reset", the speed and effect rows, and the
// seven slider items under their labels. The sliders come with the effects, and with
// them the adjust steps of the speed, band and reverb items.
class SoundFxPage : public ZarnPage {
    Q_OBJECT
public:
    explicit SoundFxPage(QWidget* parent = nullptr);
};

} // namespace zarn
