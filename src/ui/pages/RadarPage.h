#pragma once

#include "ui/pages/ZarnPage.h"

#include <QStringList>

namespace zarn {

class PlainPanel;

// Page 13, radar: back item and " Actions", the map panel `seekartepanel` with its
// bottom strip (scale and sound items) and the hidden action list `radaractions`.
// Beside the map, `Panel11` holds the nearest camera's limit and distance, the second
// nearest, the traffic light, the position fields and the speed displays. The map and
// the compass drawing and the scale item's adjust steps are still to come.
class RadarPage : public ZarnPage {
    Q_OBJECT
public:
    explicit RadarPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // The car's values; each control repaints only when its text changes.
    void showSpeed(const QString& speedo, const QString& rpm);
    // Label54 to Label61: latitude degrees, minutes, seconds, decimal minutes, then the
    // same for the longitude.
    void showPosition(const QStringList& fields);
    // What the last camera check found.
    void showCheck(const QString& limitText, const QString& distanceText, const QString& secondText, bool redLight);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // seekartepanelResize: the bottom strip and its two items follow the map panel.
    void placeStrip();

    void buildCameraSide();

    QWidget* map_;
    QWidget* side_; // Panel11
    QWidget* sideTop_;    // Panel53
    QWidget* sideMiddle_; // Panel54
    QWidget* sideBottom_; // Panel52
    PlainPanel* limit_;
    PlainPanel* distance_;
    PlainPanel* second_;
    PlainPanel* speedo_;
    PlainPanel* rpm_;
    QWidget* ampel_;
    QList<PlainPanel*> position_;
    QWidget* strip_;
    QWidget* actions_;
};

} // namespace zarn
