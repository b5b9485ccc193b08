#include "ui/pages/MusicPage.h"

#include "media/MusicListModel.h"
#include "ui/ColorRoles.h"
#include "ui/Controls.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWListbox.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

#include <QLabel>
#include <QSet>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int FilterHeight = 41;
constexpr int KeysTop = HeaderHeight + FilterHeight;
constexpr int KeyWidth = 26;
constexpr int KeyHeight = 39;
constexpr int KeyPitch = 28;
constexpr int ListTop = KeysTop + 79;
constexpr quint32 DisabledKeyText = 0x696969;

struct Row2Key {
    int number;
    const char* text;
};
// Row 2 after the letters; the key "| |" appends a blank.
const Row2Key Row2[] = {
    {36, "1"}, {37, "2"}, {38, "3"}, {39, "4"}, {41, "5"}, {42, "6"}, {43, "7"}, {44, "8"}, {45, "9"}, {46, "0"},
    {47, "!"}, {48, "§"}, {49, "$"}, {50, "("}, {51, ")"}, {52, "-"}, {53, "."}, {54, "_"}, {55, "| |"},
};
} // namespace

MusicPage::MusicPage(QWidget* parent)
    : ZarnPage(QStringLiteral("MP3"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel11"), QRect(0, 0, 464, HeaderHeight));
    up_ = symbolItem(this, QStringLiteral("BMWpanel12"), QStringLiteral(" B"), QRect(464, 0, 336, HeaderHeight), true);

    auto* random = item(this, QStringLiteral("BMWpanel71"), QStringLiteral("Make Random List"),
                        QRect(0, HeaderHeight, 265, FilterHeight), false, pixelFont(QStringLiteral("Arial Narrow"), 30, true));
    random->setBMW_llf1(4);
    connect(random, &TBMWpanel::clicked, this, &MusicPage::randomListRequested);
    random->setBMW_rectanglewidth(18);
    auto* filterLabel = new QLabel(QStringLiteral("Filter: "), this);
    filterLabel->setObjectName(QStringLiteral("FilterLabel"));
    filterLabel->setFont(pixelFont(QStringLiteral("Arial Narrow"), 30, true));
    filterLabel->setGeometry(275, HeaderHeight, 80, FilterHeight);
    auto* filter = panel(this, QStringLiteral("DateiFilterDisplay"), QString(), QRect(355, HeaderHeight, 437, FilterHeight),
                         pixelFont(QStringLiteral("Arial Narrow"), 30, true));
    filter->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const QFont keyFont = pixelFont(QStringLiteral("Arial Narrow"), 37, true);
    const auto key = [&](const QString& name, const QString& text, int x, int y, int w) {
        auto* k = panel(this, name, text, QRect(x, y, w, KeyHeight), keyFont);
        k->setFocusPolicy(Qt::StrongFocus);
        return k;
    };
    for (int i = 0; i < 26; ++i) {
        const QString letter(QChar('a' + i));
        keys_.push_back({key(QStringLiteral("BitBtnWithColor%1").arg(10 + i), letter, i * KeyPitch, KeysTop, KeyWidth),
                         letter, QChar('A' + i)});
    }
    int x = 0;
    for (const Row2Key& k : Row2) {
        const QString caption = QString::fromUtf8(k.text);
        const QString text = caption == QLatin1String("| |") ? QStringLiteral(" ") : caption;
        keys_.push_back({key(QStringLiteral("BitBtnWithColor%1").arg(k.number), caption, x, KeysTop + 40, KeyWidth), text, text[0]});
        x += KeyPitch;
    }
    for (const Key& k : keys_)
        connect(k.panel, &PlainPanel::clicked, this, [this, k] { characterKeyClick(k); });
    auto* back = key(QStringLiteral("Panel82"), QStringLiteral("<"), x, KeysTop + 40, 54);
    connect(back, &PlainPanel::clicked, this, &MusicPage::Panel82Click);

    auto* up = item(this, QStringLiteral("BMWpanel70"), QString(), QRect(768, KeysTop, 31, 79));
    up->setBMW_rectanglewidth(4);
    up->setBMW_llf1(4);
    up->setBMW_7er_style(false);
    up->setFocusPolicy(Qt::NoFocus);
    connect(up, &TBMWpanel::clicked, this, &MusicPage::BMWpanel12Click);
    connect(up_, &TBMWpanel::clicked, this, &MusicPage::BMWpanel12Click);

    // Set by the list as the highlight moves: "n of count".
    counter_ = panel(this, QStringLiteral("Button7"), QString(), QRect(0, 0, 100, 20));
    counter_->hide();
    filterDisplay_ = filter;

    filterInfo_ = statusStrip(this, "FilterInfo", "");
    auto* frame = panel(this, QStringLiteral("BitBtnWithColor40"), QString(), QRect(0, ListTop, 800, 534 - ListTop - 48));
    list_ = new TBMWListbox(QStringLiteral("BMWListbox1"), TBMWListbox::Preset::Music, frame);
    list_->setGeometry(frame->rect());
    connect(list_, &TBMWListbox::clicked, this, &MusicPage::BMWListbox1Click);
    connect(list_, &TBMWListbox::entered, this, &MusicPage::BMWListbox1Enter);
}

void MusicPage::setModel(MusicListModel* model)
{
    model_ = model;
    list_->setModel(model);
}

void MusicPage::applyDocking()
{
    PageBuilder::dockBottom(filterInfo_);
    QWidget* frame = list_->parentWidget();
    frame->setGeometry(0, ListTop, width(), qMax(0, filterInfo_->y() - ListTop));
    list_->setGeometry(-1, 0, frame->width() + 2, frame->height());
}

QString MusicPage::maskFor(const QString& filter) const
{
    return filter + QStringLiteral("*.;") + filter + QStringLiteral("*.mp3;") + filter + QStringLiteral("*.wma;") + filter
           + QStringLiteral("*.ogg");
}

void MusicPage::selectPlayingFile(const QString& fileName)
{
    if (model_ && !fileName.isEmpty())
        model_->highlightName(fileName);
}

void MusicPage::showPosition(int index)
{
    const QString text = QString::number(index + 1) + QStringLiteral(" of ") + QString::number(model_ ? model_->count() : 0);
    counter_->setCaption(text);
    emit positionShown(text);
}

void MusicPage::RelistMusicFolder(const QString& filter)
{
    filter_ = filter;
    filterDisplay_->setCaption(filter);
    if (model_) {
        const QString dir = model_->directory();
        filterInfo_->setCaption(QStringLiteral(" .../") + dir.mid(dir.lastIndexOf(QLatin1Char('/')) + 1));
        model_->setMask(maskFor(filter));
    }
    // Only a shown page takes the focus: at start-up the list is filled behind another.
    const bool shown = isVisibleTo(window());
    if (model_ && model_->count() > 0) {
        if (shown)
            list_->setFocus(Qt::OtherFocusReason);
        model_->setHighlighted(0);
    } else if (shown) {
        up_->setFocus(Qt::OtherFocusReason);
    }
    UpdateFilterKeys(int(filter.size()));
}

void MusicPage::UpdateFilterKeys(int n)
{
    // The characters that follow the first n of a listed name; a directory's name
    // starts behind its mark.
    QSet<QChar> next;
    const int markSize = int(QString::fromUtf8(MusicListModel::DirectoryMark).size());
    if (model_)
        for (const MusicListModel::Entry& e : model_->entries()) {
            const int at = n + (e.directory ? markSize : 0);
            if (at >= e.text.size())
                continue;
            const QChar c = e.text[at];
            next.insert(c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 'a' + 'A') : c);
        }
    const auto* w = qobject_cast<const ZarnWindow*>(window());
    const QColor readable = fromBgr(w ? w->roles.clreadabletext : ColorRoles().clreadabletext);
    for (const Key& k : keys_) {
        const bool on = next.contains(k.match);
        k.panel->setEnabled(on);
        k.panel->setFontColor(on ? readable : fromBgr(DisabledKeyText));
    }
}

void MusicPage::characterKeyClick(const Key& key)
{
    RelistMusicFolder(filter_ + key.text);
}

void MusicPage::Panel82Click()
{
    QString f = filter_;
    f.chop(1);
    RelistMusicFolder(f);
}

// Every directory change clears the filter; the directory is read once, with the
// unfiltered mask.
void MusicPage::enterDirectory(const QString& path)
{
    filter_.clear();
    if (model_)
        model_->setDirectoryAndMask(path, maskFor(QString()));
    RelistMusicFolder(QString());
}

void MusicPage::BMWListbox1Click()
{
    if (!model_ || model_->highlighted() < 0)
        return; // an empty list
    const int index = model_->highlighted();
    if (!model_->isDirectory(index)) {
        emit playRequested(model_->entryPath(index));
        Controls::setCaption(window()->findChild<QWidget*>(QStringLiteral("BMWpanel72")), QString());
        return;
    }
    enterDirectory(model_->entryPath(index));
    // The counter counts the new directory's entries, not the ones the old filter left.
    if (model_->setHighlighted(0))
        showPosition(0);
}

void MusicPage::BMWListbox1Enter()
{
    if (!model_ || model_->count() == 0)
        return;
    if (model_->highlighted() < 0)
        model_->setHighlighted(0);
    // The counter shows where the highlight is, also when it kept an older place.
    showPosition(model_->highlighted());
}

void MusicPage::setFilterInfo(const QString& text)
{
    filterInfo_->setCaption(text);
}

void MusicPage::BMWpanel12Click()
{
    if (model_) {
        // The root compares in its resolved form, so "/music/" stops the climb at
        // "/music" too.
        const QString dir = model_->directory();
        if (root_.isEmpty() || dir != model_->resolvedPath(root_))
            enterDirectory(model_->resolvedPath(dir + QStringLiteral("/..")));
        else
            enterDirectory(dir);
    } else {
        RelistMusicFolder(QString());
    }
    if (isVisibleTo(window()))
        up_->setFocus(Qt::OtherFocusReason);
}

void MusicPage::longClick()
{
    if (model_ && !root_.isEmpty())
        enterDirectory(root_);
    else
        RelistMusicFolder(QString());
    if (isVisibleTo(window()))
        up_->setFocus(Qt::OtherFocusReason);
}

bool MusicPage::longPress()
{
    QWidget* focus = window()->focusWidget();
    if (focus != up_ && focus != list_)
        return false;
    longClick();
    return true;
}

bool MusicPage::press(QWidget* focus)
{
    if (focus != list_)
        return false;
    BMWListbox1Click();
    return true;
}

bool MusicPage::turn(Turn turn, QWidget* focus)
{
    if (focus != list_)
        return false;
    if (!model_)
        return true;
    const int count = model_->count();
    const int i = model_->highlighted();
    if (turn == Turn::Clockwise) {
        // On the last entry the step changes nothing.
        if (i + 1 < count && model_->setHighlighted(i + 1))
            showPosition(i + 1);
        return true;
    }
    const int top = list_->topIndex();
    if (top != 0 && i == top) {
        // Scrolled down and on the first visible row: back to the start, and out.
        list_->setTopIndex(0);
        model_->setHighlighted(0);
        showPosition(0);
        up_->setFocus(Qt::OtherFocusReason);
    } else if (i <= 0) {
        up_->setFocus(Qt::OtherFocusReason);
    } else {
        model_->setHighlighted(i - 1);
        showPosition(i - 1);
    }
    return true;
}

} // namespace zarn
