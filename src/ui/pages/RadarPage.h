#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

// Page 13, radar: back item and " Actions", the map panel `seekartepanel` with its
// bottom strip (scale and sound items) and the hidden action list `radaractions`.
// The map, the compass and the displays come with the speed camera warning, and with
// them the scale item's adjust steps.
class RadarPage : public ZarnPage {
    Q_OBJECT
public:
    explicit RadarPage(QWidget* parent = nullptr);
    void applyDocking() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // seekartepanelResize: the bottom strip and its two items follow the map panel.
    void placeStrip();

    QWidget* map_;
    QWidget* strip_;
    QWidget* actions_;
};

} // namespace zarn
