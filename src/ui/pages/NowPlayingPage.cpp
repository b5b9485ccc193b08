#include "ui/pages/NowPlayingPage.h"

#include "core/StatusLog.h"
#include "ui/Controls.h"
#include "ui/CoverImage.h"
#include "ui/FormatIcon.h"
#include "ui/PaintBox.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/TSpectrum.h"
#include "ui/TextScroller.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

#include <QImageReader>
#include <QLabel>
#include <QSlider>

namespace zarn {

namespace {
struct Button {
    const char* name;
    const char* caption;
    int column, row;
    bool symbol;
};
// The numbers are the radio's preset keys that do the same.
const Button Buttons[] = {
    {"BMWpanel53", "A", 0, 0, true},
    {"BMWpanel55", "C", 1, 0, true},
    {"BMWpanel54", "(1) Pause", 0, 1, false},
    {"BMWpanel59", " n/a (4) ", 1, 1, false},
    {"BMWpanel56", "(2) Prev. MP3", 0, 2, false},
    {"BMWpanel60", " Next MP3 (5) ", 1, 2, false},
    {"BMWpanel57", "(3) << rewind", 0, 3, false},
    {"BMWpanel61", " fast forw. >> (6) ", 1, 3, false},
    {"BMWpanel58", "Random is OFF", 0, 4, false},
    {"BMWpanel62", " Stop", 1, 4, false},
    {"BMWpanel86", "Add to favorites", 0, 5, false},
    {"BMWpanel87", " Sound FX", 1, 5, false},
};
constexpr int ButtonWidth = 272;
constexpr int ButtonHeight = 54;

// Design geometry: 792 by 486 above the status bar; the left column holds the texts,
// the cover fills the rest.
constexpr int DesignWidth = 792;
constexpr int DesignHeight = 486;
constexpr int LeftColumnWidth = 409;
constexpr int StatusBarHeight = 48;
constexpr int ProgressStep = 2; // the slider's increment; a maximum below it is ignored

PlainPanel* textPanel(QWidget* parent, const char* name, const QRect& geometry, int px,
                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    PlainPanel* p = PageBuilder::panel(parent, QLatin1String(name), QString(), geometry,
                                       PageBuilder::pixelFont(QStringLiteral("Arial Narrow"), px, true));
    p->setAlignment(alignment);
    p->setLiteralText(true);
    return p;
}

} // namespace

NowPlayingPage::NowPlayingPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet3"), parent)
    , disappearTimer_(QStringLiteral("MP3OptionsPanelDisappearTimer"), this)
{
    using namespace PageBuilder;
    statusBar_ = statusStrip(this, "StatusBar2", "", StatusBarHeight);
    auto* date = new QLabel(QStringLiteral("DateLabel1"), statusBar_);
    date->setObjectName(QStringLiteral("DateLabel2"));
    date->setFont(pixelFont(QStringLiteral("Arial Narrow"), 32, true));
    date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    date->setGeometry(statusBar_->rect().adjusted(0, 0, -8, 0));

    buildDisplay();
    buildOptions();
    connect(&disappearTimer_, &Timer::timeout, this, &NowPlayingPage::MP3OptionsPanelDisappearTimerTimer);
}

void NowPlayingPage::buildDisplay()
{
    using namespace PageBuilder;
    cover_ = new CoverImage(QStringLiteral("PlayMP3Image"), this);
    cover_->setGeometry(LeftColumnWidth, 0, DesignWidth - LeftColumnWidth, DesignHeight);
    connect(cover_, &CoverImage::clicked, this, &NowPlayingPage::PlayMP3ImageClick);

    title_ = textPanel(this, "edTitle", QRect(8, 4, 393, 77), 32);
    title_->setWordWrap(true);
    artist_ = textPanel(this, "edArtist", QRect(8, 84, 393, 38), 30);
    album_ = textPanel(this, "edAlbum", QRect(8, 124, 393, 36), 26);
    year_ = textPanel(this, "edYear", QRect(8, 162, 80, 34), 26);
    genre_ = textPanel(this, "edGenre", QRect(92, 162, 309, 34), 26);

    // The display frame: the play mark and the time, the format and the stream figures.
    frame_ = panel(this, QStringLiteral("winamppanel1"), QString(), QRect(4, 202, 401, 96));
    frame_->setBevel(PlainPanel::Bevel::Raised);
    frame_->setBevelWidth(2);
    pausedLabel_ = textPanel(frame_, "paused_label", QRect(8, 6, 44, 50), 44, Qt::AlignCenter);
    time_ = textPanel(frame_, "TimeOfPiece", QRect(56, 4, 337, 54), 48, Qt::AlignRight | Qt::AlignVCenter);
    format_ = new FormatIcon(QStringLiteral("playbmp"), frame_);
    format_->move(14, 58);
    bitrate_ = textPanel(frame_, "Panel64", QRect(56, 58, 140, 32), 28);
    sampleRate_ = textPanel(frame_, "Panel67", QRect(200, 58, 193, 32), 28, Qt::AlignRight | Qt::AlignVCenter);

    progress_ = new QSlider(Qt::Horizontal, this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setGeometry(4, 302, 401, 28);
    progress_->setFocusPolicy(Qt::NoFocus);
    // Opaque, so a tick repaints the slider alone and not the page under it.
    progress_->setAutoFillBackground(true);
    progress_->setRange(0, view_.progressMax);
    progress_->setSingleStep(ProgressStep);
    progress_->setPageStep(ProgressStep);
    connect(progress_, &QSlider::sliderReleased, this, &NowPlayingPage::ProgressStopTracking);

    paintFrame_ = new PaintBox(QStringLiteral("PaintFrame"), this);
    paintFrame_->setGeometry(8, 332, 393, 124);

    scroller_ = new TextScroller(QStringLiteral("MP3_scroller"), this);
    scroller_->setGeometry(4, 458, 401, 28);
    scroller_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 22, true));

    pausedLabel_->setCaption(view_.playMark);
    time_->setCaption(view_.timeText);
}

void NowPlayingPage::buildOptions()
{
    using namespace PageBuilder;
    options_ = panel(this, QStringLiteral("MP3OptionsPanel"), QString(), QRect(93, 66, 551, 384));
    const QFont font = pixelFont(QStringLiteral("Arial Narrow"), 32, true);
    for (const Button& b : Buttons) {
        const QRect r(2 + b.column * (ButtonWidth + 3), 2 + b.row * (ButtonHeight + 1), ButtonWidth, ButtonHeight);
        TBMWpanel* p = b.symbol ? symbolItem(options_, QLatin1String(b.name), QLatin1String(b.caption), r, b.column == 1, 50)
                                : item(options_, QLatin1String(b.name), QLatin1String(b.caption), r, b.column == 1, font);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(18);
    }
    const int barTop = 2 + 6 * (ButtonHeight + 1);
    const QFont barFont = pixelFont(QStringLiteral("Arial Narrow"), 24, true);
    for (const auto& [name, left, width] : {std::tuple{"BMWpanel72", 2, 514}, std::tuple{"BMWpanel73", 518, 30}}) {
        auto* p = item(options_, QLatin1String(name), QString(), QRect(left, barTop, width, 384 - barTop - 2), false, barFont);
        p->setBMW_llf1(4);
        p->setBMW_rectanglewidth(4);
        p->setBMW_7er_style(false);
        p->setFocusPolicy(Qt::NoFocus);
    }
    options_->hide();

    // Every item restarts the hiding timer except the close item, which hides at once.
    wireItem("BMWpanel53", &NowPlayingPage::backRequested);
    wireItem("BMWpanel54", &NowPlayingPage::pauseRequested);
    wireItem("BMWpanel59", &NowPlayingPage::randomizeRequested);
    wireItem("BMWpanel56", &NowPlayingPage::previousRequested);
    wireItem("BMWpanel60", &NowPlayingPage::nextRequested);
    wireItem("BMWpanel57", &NowPlayingPage::rewindRequested);
    wireItem("BMWpanel61", &NowPlayingPage::forwardRequested);
    wireItem("BMWpanel58", &NowPlayingPage::randomToggleRequested);
    wireItem("BMWpanel72", &NowPlayingPage::randomToggleRequested);
    wireItem("BMWpanel62", &NowPlayingPage::stopRequested);
    wireItem("BMWpanel73", &NowPlayingPage::stopRequested);
    wireItem("BMWpanel86", &NowPlayingPage::favouriteRequested);
    wireItem("BMWpanel87", &NowPlayingPage::soundFxRequested);
    connect(optionItem("BMWpanel55"), &TBMWpanel::clicked, options_, &QWidget::hide);
}

TBMWpanel* NowPlayingPage::optionItem(const char* name) const
{
    return options_->findChild<TBMWpanel*>(QLatin1String(name));
}

void NowPlayingPage::wireItem(const char* name, void (NowPlayingPage::*request)())
{
    connect(optionItem(name), &TBMWpanel::clicked, this, [this, request] {
        disappearTimer_.restart(ItemHideMs);
        emit(this->*request)();
    });
}

NowPlayingPage::~NowPlayingPage() = default;

void NowPlayingPage::newSpectrum()
{
    auto fresh = std::make_unique<TSpectrum>(paintFrame_->size());
    paintFrame_->setPicture(&fresh->picture());
    spectrum_ = std::move(fresh);
}

void NowPlayingPage::drawSpectrum(const float* magnitudes, int count)
{
    if (!spectrum_)
        return;
    spectrum_->draw(magnitudes, count, SpectrumX, SpectrumY);
    paintFrame_->update();
}

void NowPlayingPage::setDefaultCover(const QPixmap& picture)
{
    cover_->setDefaultPicture(picture);
}

void NowPlayingPage::setDefaultCover(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (!image.isNull())
        setDefaultCover(QPixmap::fromImage(image));
}

void NowPlayingPage::setStatusLog(StatusLog* log)
{
    log_ = log;
}

void NowPlayingPage::setView(const NowPlayingView& v)
{
    const NowPlayingView& old = view_;
    if (v.coverPath != old.coverPath)
        cover_->setPath(v.coverPath);
    if (v.playMark != old.playMark)
        pausedLabel_->setCaption(v.playMark);
    if (v.timeText != old.timeText)
        time_->setCaption(v.timeText);
    if (v.bitrateText != old.bitrateText)
        bitrate_->setCaption(v.bitrateText);
    if (v.sampleRateText != old.sampleRateText)
        sampleRate_->setCaption(v.sampleRateText);
    if (v.format != old.format)
        format_->setFormat(v.format);
    // The slider keeps its maximum when a new one is below its increment, and the
    // value the user is dragging until it is released.
    if (v.progressMax != old.progressMax && v.progressMax >= ProgressStep)
        progress_->setMaximum(v.progressMax);
    if ((v.progressValue != old.progressValue || v.progressMax != old.progressMax) && !progress_->isSliderDown())
        progress_->setValue(v.progressValue);
    if (v.scrollerText != old.scrollerText)
        scroller_->setText(v.scrollerText);
    if (v.scrolling != old.scrolling)
        scroller_->setScrolling(v.scrolling);
    if (v.title != old.title)
        title_->setCaption(v.title);
    if (v.artist != old.artist)
        artist_->setCaption(v.artist);
    if (v.album != old.album)
        album_->setCaption(v.album);
    if (v.year != old.year)
        year_->setCaption(v.year);
    if (v.genre != old.genre)
        genre_->setCaption(v.genre);
    if (v.pauseCaption != old.pauseCaption)
        optionItem("BMWpanel54")->setBMW_supercaption(v.pauseCaption);
    if (v.seekEnabled != old.seekEnabled)
        for (const char* name : {"BMWpanel57", "BMWpanel61"})
            optionItem(name)->setEnabled(v.seekEnabled);
    if (v.randomizeCaption != old.randomizeCaption)
        optionItem("BMWpanel59")->setBMW_supercaption(v.randomizeCaption);
    if (v.randomCaption != old.randomCaption)
        optionItem("BMWpanel58")->setBMW_supercaption(v.randomCaption);
    if (v.randomStatus != old.randomStatus)
        optionItem("BMWpanel72")->setBMW_supercaption(v.randomStatus);
    view_ = v;
}

void NowPlayingPage::PlayMP3ImageClick()
{
    options_->show();
    options_->raise();
    // A plain 7000 would not restart a timer that still runs from an earlier opening,
    // and the overlay would vanish early.
    disappearTimer_.restart(OpenedHideMs);
    optionItem("BMWpanel53")->setFocus();
}

void NowPlayingPage::ProgressStopTracking()
{
    emit seekRequested(progress_->value());
}

void NowPlayingPage::MP3OptionsPanelDisappearTimerTimer()
{
    if (log_)
        log_->timerTrace(disappearTimer_.name());
    options_->hide();
    disappearTimer_.stop();
}

bool NowPlayingPage::turn(Turn turn, QWidget*)
{
    if (!options_->isHidden() || pausedLabel_->caption() != QLatin1String(">")
        || progress_->value() >= progress_->maximum())
        return false;
    emit seekStepRequested(turn == Turn::Clockwise ? 3 : -3);
    return true;
}

bool NowPlayingPage::press(QWidget*)
{
    if (!options_->isHidden())
        return false;
    PlayMP3ImageClick();
    return true;
}

bool NowPlayingPage::preset(int key)
{
    static const char* const ItemOfKey[] = {"BMWpanel54", "BMWpanel56", "BMWpanel57",
                                            "BMWpanel59", "BMWpanel60", "BMWpanel61"};
    if (key < 1 || key > 6)
        return false;
    Controls::click(optionItem(ItemOfKey[key - 1]));
    return true;
}

void NowPlayingPage::applyDocking()
{
    PageBuilder::dockBottom(statusBar_);
    // The cover fills what the left column leaves above the status bar.
    cover_->setGeometry(LeftColumnWidth, 0, std::max(0, width() - LeftColumnWidth), std::max(0, statusBar_->y()));
}

} // namespace zarn
