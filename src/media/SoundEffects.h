#pragma once

#include "media/AudioEngine.h"
#include "media/SampleEffects.h"

#include <QObject>
#include <QString>

#include <array>

namespace zarn {

class IniFile;
class StatusLog;
struct MediaSettings;

// The sound effects of the music stream: the six equalizer bands and the reverb (the
// engine's effects, made anew for every stream), the speed, and the flange, echo and
// rotate sample callbacks. It keeps the values of the sound effects page's sliders and
// the captions of its rows; the page shows them and hands its user's changes here.
//
// Contract:
// - Main thread only: every member is called there, every signal is emitted there.
// - attachTo() is mandatory right after each track's stream starts playing.
// - A slider set to the value it has changes nothing; any other value runs its change
//   step and emits its *SliderChanged signal, whoever set it (the page, the knob,
//   the reset or the track start). captionsChanged() follows every caption change.
// - Engine calls on a stale or missing stream or effect fail without a trace; the
//   sliders and captions change all the same and the band gains are still written.
// - The sample callbacks' states live as long as this object, which must outlive
//   every stream they were registered on (the engine, ini and settings outlive it).
class SoundEffects : public QObject {
    Q_OBJECT
public:
    static constexpr int Bands = 6;
    static constexpr float BandCentres[Bands] = {80, 600, 1000, 2000, 4000, 8000};
    static constexpr float Bandwidth = 18; // semitones
    static constexpr int EqSliderMax = 30, EqSliderDesign = 15;
    static constexpr int ReverbSliderMax = 20;
    static constexpr int SpeedSliderMax = 300000;
    static constexpr int SpeedKnobStep = 2000;

    SoundEffects(AudioEngine& engine, IniFile& ini, MediaSettings& settings, StatusLog* log = nullptr,
                 QObject* parent = nullptr);

    // A new stream plays: its equalizer and reverb are made and set, the reverb starts
    // off; the sample callbacks stay with the stream they were switched on for.
    void attachTo(AudioEngine::StreamHandle stream, quint32 baseSampleRate);

    int eqSlider(int band) const { return eqSlider_[size_t(band)]; } // band 0..5
    int reverbSlider() const { return reverbSlider_; }
    int speedSlider() const { return speedSlider_; }
    void setEqSlider(int band, int value);   // EQ1Change .. EQ6Change
    void setReverbSlider(int value);         // reverb_sliderChange
    void setSpeedSlider(int value);          // Speed_MP3Change

    void reset();        // BMWpanel137Click: speed and bands to their design values
    void toggleFlange(); // BMWpanel125Click
    void toggleEcho();   // BMWpanel127Click
    void toggleRotate(); // BMWpanel128Click

    bool flangeOn() const { return flangeOn_; }
    bool echoOn() const { return echoOn_; }
    bool rotateOn() const { return rotateOn_; }
    QString speedCaption() const { return speedCaption_; } // BMWpanel124
    QString flangeCaption() const;                         // BMWpanel125
    QString echoCaption() const;                           // BMWpanel127
    QString rotateCaption() const;                         // BMWpanel128

    // The mix of a reverb slider value, in dB: -0.012 v^3.
    static float reverbMix(int slider);

signals:
    void eqSliderChanged(int band, int value);
    void reverbSliderChanged(int value);
    void speedSliderChanged(int value);
    void captionsChanged();
    // The sample rate in effect, as the now-playing page shows it.
    void sampleRateTextChanged(const QString& text);

private:
    void bandChange(int band);
    void reverbChange();
    void speedChange();
    void toggle(bool& on, AudioEngine::DspHandle& handle, AudioEngine::DspProc proc, void* state, int priority,
                void (*resetState)(void*));

    AudioEngine& engine_;
    IniFile& ini_;
    MediaSettings& settings_;
    StatusLog* log_;

    AudioEngine::StreamHandle stream_ = 0;
    quint32 baseSampleRate_ = 0;
    std::array<AudioEngine::FxHandle, Bands> bandFx_{};
    AudioEngine::FxHandle reverbFx_ = 0;

    std::array<int, Bands> eqSlider_;
    int reverbSlider_ = ReverbSliderMax;
    int speedSlider_ = 0;
    QString speedCaption_;

    bool flangeOn_ = false, echoOn_ = false, rotateOn_ = false;
    AudioEngine::DspHandle flangeDsp_ = 0, echoDsp_ = 0, rotateDsp_ = 0;
    // Read and written by the output thread while registered; reset here only before.
    FlangeState flange_;
    EchoState echo_;
    RotateState rotate_;
};

} // namespace zarn
