#include "media/SoundEffects.h"

#include "core/IniFile.h"
#include "core/StatusLog.h"
#include "media/MediaSettings.h"

#include <algorithm>
#include <cmath>

namespace zarn {

SoundEffects::SoundEffects(AudioEngine& engine, IniFile& ini, MediaSettings& settings, StatusLog* log, QObject* parent)
    : QObject(parent), engine_(engine), ini_(ini), settings_(settings), log_(log)
{
    eqSlider_.fill(EqSliderDesign);
    speedCaption_ = QString::number(0);
}

float SoundEffects::reverbMix(int slider)
{
    const float v = float(slider);
    return -0.012f * v * v * v;
}

void SoundEffects::attachTo(AudioEngine::StreamHandle stream, quint32 baseSampleRate)
{
    stream_ = stream;
    baseSampleRate_ = baseSampleRate;
    for (auto& fx : bandFx_)
        fx = engine_.channelSetFX(stream, AudioEngine::FxParamEq, 1);
    reverbFx_ = engine_.channelSetFX(stream, AudioEngine::FxReverb, 1);

    for (int band = 0; band < Bands; ++band) {
        // The slider's change step may store a rounded gain; the band gets the stored one.
        const float stored = float(settings_.eqGain[size_t(band)]);
        setEqSlider(band, int(std::trunc(stored + float(EqSliderDesign))));
        engine_.fxSetParameters(bandFx_[size_t(band)],
                                AudioEngine::ParamEqParameters{BandCentres[band], Bandwidth, stored});
    }

    AudioEngine::ReverbParameters r;
    engine_.fxGetParameters(reverbFx_, r);
    r.reverbMix = -96.0f;
    r.reverbTime = 1200.0f;
    r.highFreqRTRatio = 0.1f;
    engine_.fxSetParameters(reverbFx_, r);
    setReverbSlider(ReverbSliderMax);
}

void SoundEffects::setEqSlider(int band, int value)
{
    if (band < 0 || band >= Bands)
        return;
    value = std::clamp(value, 0, EqSliderMax);
    if (eqSlider_[size_t(band)] == value)
        return;
    eqSlider_[size_t(band)] = value;
    bandChange(band);
    emit eqSliderChanged(band, value);
}

void SoundEffects::bandChange(int band)
{
    const AudioEngine::FxHandle fx = bandFx_[size_t(band)];
    AudioEngine::ParamEqParameters p;
    engine_.fxGetParameters(fx, p);
    p.gain = float(eqSlider_[size_t(band)] - EqSliderDesign);
    engine_.fxSetParameters(fx, p);
    settings_.eqGain[size_t(band)] = p.gain;
    const QString key = QStringLiteral("EQ%1_Gain").arg(band + 1);
    if (!ini_.writeFloat(QStringLiteral("EQ"), key, p.gain) && log_) {
        const QString detail = ini_.errorDetail();
        log_->addError(detail.isEmpty() ? ini_.errorString() : ini_.errorString() + QStringLiteral(": ") + detail);
    }
}

void SoundEffects::setReverbSlider(int value)
{
    value = std::clamp(value, 0, ReverbSliderMax);
    if (reverbSlider_ == value)
        return;
    reverbSlider_ = value;
    reverbChange();
    emit reverbSliderChanged(value);
}

void SoundEffects::reverbChange()
{
    AudioEngine::ReverbParameters r;
    if (!engine_.fxGetParameters(reverbFx_, r))
        return;
    r.reverbMix = reverbMix(reverbSlider_);
    engine_.fxSetParameters(reverbFx_, r);
}

void SoundEffects::setSpeedSlider(int value)
{
    value = std::clamp(value, -SpeedSliderMax, SpeedSliderMax);
    if (speedSlider_ == value)
        return;
    speedSlider_ = value;
    speedChange();
    emit speedSliderChanged(value);
}

void SoundEffects::speedChange()
{
    const double f = double(speedSlider_) / SpeedSliderMax * 0.2 + 1.0;
    const double rate = f * double(baseSampleRate_);
    // The balance stays where it is: a speed change is no pan change.
    engine_.channelSetAttributes(stream_, int(std::trunc(rate)), 100, AudioEngine::KeepPan);
    speedCaption_ = QString::number(std::llround(rate));
    emit captionsChanged();
    emit sampleRateTextChanged(speedCaption_);
}

void SoundEffects::reset()
{
    setSpeedSlider(0);
    for (int band = 0; band < Bands; ++band)
        setEqSlider(band, EqSliderDesign);
}

QString SoundEffects::flangeCaption() const
{
    return flangeOn_ ? QStringLiteral("Flange is ON") : QStringLiteral("Flange is OFF");
}

QString SoundEffects::echoCaption() const
{
    return echoOn_ ? QStringLiteral("Echo is ON") : QStringLiteral("Echo is OFF");
}

QString SoundEffects::rotateCaption() const
{
    return rotateOn_ ? QStringLiteral("Rotate is ON") : QStringLiteral("Rotate is OFF");
}

void SoundEffects::toggle(bool& on, AudioEngine::DspHandle& handle, AudioEngine::DspProc proc, void* state,
                          int priority, void (*resetState)(void*))
{
    on = !on;
    if (on) {
        // Reset before registering: the callback never starts on a half-reset state.
        resetState(state);
        // The user value carries the state: the callbacks keep no globals.
        handle = engine_.channelSetDSP(stream_, proc, state, priority);
    } else {
        engine_.channelRemoveDSP(stream_, handle);
    }
    emit captionsChanged();
}

void SoundEffects::toggleFlange()
{
    toggle(flangeOn_, flangeDsp_, flangeProc, &flange_, FlangeState::Priority,
           [](void* s) { static_cast<FlangeState*>(s)->reset(); });
}

void SoundEffects::toggleEcho()
{
    toggle(echoOn_, echoDsp_, echoProc, &echo_, EchoState::Priority,
           [](void* s) { static_cast<EchoState*>(s)->reset(); });
}

void SoundEffects::toggleRotate()
{
    toggle(rotateOn_, rotateDsp_, rotateProc, &rotate_, RotateState::Priority,
           [](void* s) { static_cast<RotateState*>(s)->reset(); });
}

} // namespace zarn
