#pragma once

#include "ui/pages/ZarnPage.h"
#include "vehicle/RadarMap.h"

#include <QStringList>

namespace zarn {

class PaintBox;
class PlainPanel;
class Tcompass;
class TmKnob;
struct RadarSettings;

// Page 13, radar: back item and " Actions", the map panel `seekartepanel` with its
// bottom strip (scale and sound items) and the hidden action list `radaractions`.
// Beside the map, `Panel11` holds the nearest camera's limit and distance, the second
// nearest, the traffic light, the position fields, the compass and the speed displays.
// The map `seekarte` shows the picture the camera check draws; the page copies it.
// The action band's items and the scale and sound items emit what they ask for; the
// camera warning carries it out and the page shows the settings it reports back.
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
    // The compass needle towards the nearest camera, 0 straight ahead.
    void showRelativeBearing(int degrees);
    // The captions of the toggles, the threshold label, the scale item and the knob.
    void showSettings(const RadarSettings& settings);
    // Not owned; repainted by mapDrawn().
    void setMapPicture(const QImage* picture);
    void mapDrawn();
    // The scheme's roles for the map; mapColorsChanged() only when they differ.
    void setMapColors(const RadarMap::Colors& colors);
    QSize mapSize() const;

    // " Actions" and "Done !": the action band in place of the map and back.
    void BMWpanel91Click();
    void BMWpanel94Click();

    bool adjust(AdjustMode::Control control, Turn turn) override;

signals:
    void warningToggleRequested();    // BMWpanel92
    void tooFastToggleRequested();    // BMWpanel93
    void thresholdStepRequested(int sign); // BMWpanel97 +1, BMWPanel96 -1
    void soundToggleRequested();      // BMWpanel108
    void scaleStepRequested(int sign); // BMWpanel105 click and the knob in adjust mode
    void doneRequested();             // the check after "Done !"
    void mapResized(QSize size);
    void mapColorsChanged(const zarn::RadarMap::Colors& colors);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // seekartepanelResize: the bottom strip and its two items follow the map panel.
    void placeStrip();

    void buildCameraSide();
    void buildActions();
    void setHeaderFocusable(bool on);

    QWidget* map_;
    PaintBox* seekarte_;
    QWidget* separator_; // Panel55
    Tcompass* compass_;
    TmKnob* knob_;
    QWidget* image4_;
    RadarMap::Colors mapColors_;
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
