#pragma once

#include "core/Timer.h"
#include "media/AudioEngine.h"
#include "media/NowPlayingView.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace zarn {

class IbusSender;
class IniFile;
class MusicList;
class StartupSequence;
class StatusLog;
class TimerScheduler;
struct MediaSettings;

// The music player: one track at a time through the audio engine, advancing in list
// order or at random, with pause, seek, previous/next, stop, and the last track kept in
// Zarn.ini for the resume after a restart. It keeps what the now-playing page shows as a
// NowPlayingView.
//
// Contract:
// - Main thread only: every member is called there, every signal is emitted there, and
//   every engine call is made from there. The engine's own threads run nothing of this
//   class (the sample callbacks belong to the effects).
// - viewChanged() follows every change of view(); the page draws from it.
// - switchToNowPlaying() comes 50 ms after every track start (whatever page is shown):
//   the window shows the now-playing page under the music header. stopped() asks for the
//   music list page; backRequested() for the music list page with its back item focused.
// - spectrumFetched() comes every 35 ms while a track plays (the stream's active state
//   is playing), with the stream's magnitudes; the pointer is valid during the signal
//   only. outputInitialised() follows every InitAudioOutput(): the spectrum starts anew.
// - streamStarted() comes right after a new stream starts playing, before anything
//   else of the track start: the effects attach to it then.
// - Nothing is mandatory to connect; the player never touches a widget.
// - The engine, the list, the log, the sender, the ini file and the settings must
//   outlive the player.
class MusicPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int ProgressIntervalMs = 400;
    static constexpr int SwitchIntervalMs = 50;
    static constexpr int SpectrumIntervalMs = 35;
    static constexpr int SeekStepSeconds = 3;
    static constexpr int NextAttempts = 50;
    static constexpr int ClusterNameLength = 20;

    static constexpr const char* PauseCaption = "(1) Pause";
    static constexpr const char* ResumeCaption = "(1) Resume";
    static constexpr const char* NoTrackText = "No MP3 file playing...";

    // appDir ends in "/"; the artist pictures are the "*.jpg" files of appDir + "stars/",
    // listed here once.
    MusicPlayer(AudioEngine& engine, MusicList& list, TimerScheduler& timers, StatusLog& log, IbusSender& sender,
                IniFile& ini, MediaSettings& settings, const QString& appDir, QObject* parent = nullptr);
    ~MusicPlayer() override;

    const NowPlayingView& view() const { return view_; }

    // The state the rest of the program reads.
    QString CurrentTrack() const { return currentTrack_; }
    bool RandomMode() const { return randomMode_; }
    bool trackPlaying() const { return ProgresTimer.isActive(); }
    bool paused() const { return view_.pauseCaption != QLatin1String(PauseCaption); }
    int TrackLength() const { return trackLength_; }
    int TrackPosition() const { return trackPosition_; }
    quint32 BaseSampleRate() const { return baseSampleRate_; }
    AudioEngine::StreamHandle MusicStream() const { return stream_; }

    // Opens the output (device 1 in the program unless set). A device that cannot be
    // opened is reported by the engine and the program goes on without sound; the next
    // track start tries again.
    void setOutputDevice(int device) { device_ = device; }
    void InitAudioOutput();
    // A movie takes the sound device: the stream is freed, the progress and spectrum
    // ticks stop and the output is closed until the next InitAudioOutput().
    void releaseAudioOutput();

    // Its step of the start-up after Zarn.ini is read: random play from the start when
    // the settings say so.
    void registerStartup(StartupSequence& startup);
    // The resume of the last track (autoreplay_after_restart): the list shows its
    // directory and plays it when the file is still there.
    void replayLastTrack();

    // Starts the file at this full path; false when it could not be started (the
    // failure texts are shown then).
    bool PlayMp3File(const QString& path);
    // A file entry of the music list was chosen: it plays and the random status clears.
    void playListEntry(const QString& path);
    // The sample-rate figure of the now-playing page (the speed in effect).
    void showSampleRate(const QString& text);

    // The pause toggle (BMWpanel54, radio button 1, the bus's pause rows) and its halves.
    void BMWpanel54Click();
    void pauseSteps();
    void resumeSteps();
    // The playing state on the display only; the stream is not resumed.
    void showPlaying();

    void BMWpanel56Click(); // previous entry, one step
    void BMWpanel60Click(); // next entry
    void BMWpanel58Click(); // random play on or off
    void BMWpanel59Click(); // another random track (random play only)
    void BMWpanel62Click(); // stop
    void BMWpanel53Click(); // back to the music list, playback goes on

    // The steering wheel's music branches: the next file entry after the playing one
    // (wrapping, at most 50 entries tried), the previous one (the first steps to the
    // last), and in random play the end of the current track.
    void nextTrack();
    void previousTrack();
    void endTrack();
    // Moves the playing track by whole seconds from the kept position; the target is
    // not clamped.
    void seekBy(int seconds);
    // The progress slider released at this value.
    void ProgressStopTracking(int seconds);

    // The random play list; its entries are full paths.
    void setRandomEntries(const QStringList& entries) { randomEntries_ = entries; }
    const QStringList& randomEntries() const { return randomEntries_; }
    // The random status bar (BMWpanel72), for the texts of the random list and favourites.
    void setRandomStatus(const QString& text);
    // Draws a number 0 <= n < bound; uniform from the system's generator unless set.
    void setRandomSource(std::function<int(int bound)> source) { randomSource_ = std::move(source); }

    // Progress tick, every 400 ms while a track plays.
    Timer ProgresTimer;
    // One-shot, 50 ms after a track start.
    Timer SwitchToNowPlayingTimer;
    // The spectrum's tick; it only runs alongside the track here.
    Timer SpecTimer;

signals:
    void streamStarted(AudioEngine::StreamHandle stream, quint32 baseSampleRate);
    void viewChanged();
    void switchToNowPlaying();
    void stopped();
    void backRequested();
    void spectrumFetched(const float* magnitudes, int count);
    void outputInitialised();

private:
    class ViewGuard;
    void ProgresTimerTimer();
    void SwitchToNowPlayingTimerTimer();
    void SpecTimerTimer();
    void randomDraw();
    void advanceInListOrder();
    bool playIfFile(int index);
    void refreshPosition();
    void setPosition(float seconds);
    void writeTimeText();
    void setProgressMax(int max);
    void setProgressValue(int value);
    void setPlaying(bool playing);
    void rememberTrack(const QString& path);
    void sendCluster(const QString& text);
    QString findCover(const QString& path) const;
    void listArtistPictures();

    AudioEngine& engine_;
    MusicList& list_;
    StatusLog& log_;
    IbusSender& sender_;
    IniFile& ini_;
    MediaSettings& settings_;
    QString starsDir_;
    QStringList artistPictures_;

    NowPlayingView view_;
    int viewDepth_ = 0;
    int device_ = AudioEngine::DeviceDefault;
    AudioEngine::StreamHandle stream_ = 0;
    QString currentTrack_;
    int trackLength_ = 0;
    int trackPosition_ = 0;
    // The position of the last tick, for the end of a track in random play; -1 after a
    // start or a seek.
    int lastTickPosition_ = -1;
    quint32 baseSampleRate_ = 0;
    bool randomMode_ = false;
    QStringList randomEntries_;
    std::function<int(int)> randomSource_;
    float magnitudes_[AudioEngine::FftBins] = {};
};

} // namespace zarn
