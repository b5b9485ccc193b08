#include "media/PlayerState.h"

namespace zarn {

PlayerState::PlayerState(QObject* parent)
    : QObject(parent)
{
}

void PlayerState::registerStartup(StartupSequence& startup)
{
    startup.add(QStringLiteral("music replay"), [](const StartupSequence::Splash& splash) {
        splash(92, QStringLiteral(" Processing MP3 replay settings"));
    });
}

void PlayerState::BMWpanel54Click()
{
    if (paused())
        resumeSteps();
    else
        pauseSteps();
}

void PlayerState::pauseSteps()
{
    emit pauseStream();
    show(ResumeCaption, "||", false);
}

void PlayerState::resumeSteps()
{
    show(PauseCaption, ">", true);
    emit playStream();
}

void PlayerState::showPlaying()
{
    show(PauseCaption, ">", true);
}

void PlayerState::show(const char* caption, const char* mark, bool scrolling)
{
    const QString c = QLatin1String(caption), m = QLatin1String(mark);
    if (c == pauseCaption_ && m == playMark_ && scrolling == scrolling_)
        return;
    pauseCaption_ = c;
    playMark_ = m;
    scrolling_ = scrolling;
    emit displayChanged();
}

} // namespace zarn
