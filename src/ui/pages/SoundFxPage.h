#pragma once

#include "ui/pages/ZarnPage.h"

#include <array>

class QCheckBox;
class QSlider;

namespace zarn {

class SoundEffects;
class TBMWpanel;

// Page 14, sound effects: back item and " Reset", the speed and effect rows, and the
// seven slider items under their labels (EQ1..EQ6, reverb_slider; Speed_MP3 inside the
// speed row). It shows a SoundEffects controller and hands it every change of its
// controls; the knob steps a slider whose item is in adjust mode (1, speed 2000).
// backRequested() asks for the now-playing page; the application carries it out.
// Main thread only; the controller must outlive the page's binding.
class SoundFxPage : public ZarnPage {
    Q_OBJECT
public:
    explicit SoundFxPage(QWidget* parent = nullptr);

    void setEffects(SoundEffects* effects);

    QSlider* EQ(int band) const { return eq_[size_t(band)]; } // band 0..5
    QSlider* reverb_slider() const { return reverb_; }
    QSlider* Speed_MP3() const { return speed_; }

    void BMWpanel125Click();
    void BMWpanel127Click();
    void BMWpanel128Click();
    void BMWpanel137Click();

    bool adjust(AdjustMode::Control control, Turn turn) override;

signals:
    void backRequested(); // BMWpanel136

private:
    void showCaptions();
    static void setQuietly(QSlider* slider, int value);

    SoundEffects* effects_ = nullptr;
    std::array<QSlider*, 6> eq_{};
    QSlider* reverb_ = nullptr;
    QSlider* speed_ = nullptr;
    TBMWpanel* speedRow_ = nullptr;
    TBMWpanel* flangeRow_ = nullptr;
    TBMWpanel* echoRow_ = nullptr;
    TBMWpanel* rotateRow_ = nullptr;
    QCheckBox* flangeBox_ = nullptr; // CheckBox3
    QCheckBox* echoBox_ = nullptr;   // CheckBox2
    QCheckBox* rotateBox_ = nullptr; // CheckBox1
};

} // namespace zarn
