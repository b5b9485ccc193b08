#include "ui/pages/TabSpecial.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace zarn {

namespace {
QCheckBox* check(QWidget* parent, QVBoxLayout* box, const char* name, const QString& caption)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QLatin1String(name));
    c->setFocusPolicy(Qt::ClickFocus);
    box->addWidget(c);
    return c;
}

const QString IdleCaption = QStringLiteral("Exit Zarn                     seconds after IBUS idle");
} // namespace

TabSpecial::TabSpecial(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSpecial"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // The power texts are long; the sub-page scrolls rather than cutting them.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("SpecialScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("SpecialContent"));
    scroll->setWidget(content);

    auto* box = new QVBoxLayout(content);
    box->setSpacing(2);
    check(content, box, "Miles_checkbox",
          QStringLiteral("Display Speed in mph (default is km/h) ! Sorry all other distances are metric - get used to "
                         "it, guys :-)"));
    check(content, box, "CD_CheckBox",
          QStringLiteral("Enable CD Emulation - do not use this if you have a real CD player in your BMW !"));
    check(content, box, "NOSEND_CheckBox", QStringLiteral("Do not send any data to OBC !"));
    check(content, box, "startwithrandom", QStringLiteral("Start with \"Random on\""));
    check(content, box, "autoreplay_after_restart",
          QStringLiteral("Auto-replay same MP3-file as played when shut down last time"));
    check(content, box, "disablemp3filenamedisplay",
          QStringLiteral("Do not show MP3 file name in \"now playing\" screen (w/large file names)"));

    // The seconds field sits in the gap of the check box's caption.
    auto* idle = check(content, box, "shutdownafterIBUSidle", IdleCaption);
    auto* seconds = new QSpinBox(idle);
    seconds->setObjectName(QStringLiteral("shutdownafterIBUSidle_seconds"));
    seconds->setRange(60, 9999999);
    seconds->setValue(120);
    seconds->setFocusPolicy(Qt::ClickFocus);
    seconds->setButtonSymbols(QAbstractSpinBox::NoButtons);
    const QFontMetrics fm(idle->font());
    const int indicator = idle->style()->pixelMetric(QStyle::PM_IndicatorWidth)
        + idle->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    const int gapStart = indicator + fm.horizontalAdvance(QStringLiteral("Exit Zarn "));
    const int gapWidth = fm.horizontalAdvance(QString(19, QLatin1Char(' ')));
    seconds->setGeometry(gapStart, 0, gapWidth, fm.height() + 4);

    check(content, box, "Shutdown_with_checkcontrol",
          QStringLiteral("Exit if check control button (in IKE - right button :-) is pressed"));

    auto* messageRow = new QHBoxLayout;
    auto* active = new QCheckBox(QStringLiteral("Exit if this IBUS message is detected:"), content);
    active->setObjectName(QStringLiteral("ShutDownMessage_active"));
    active->setFocusPolicy(Qt::ClickFocus);
    auto* message = new QLineEdit(QStringLiteral("Your code with no blanks between hex pairs here !"), content);
    message->setObjectName(QStringLiteral("ShutDownMessage"));
    message->setFocusPolicy(Qt::ClickFocus);
    messageRow->addWidget(active);
    messageRow->addWidget(message, 1);
    box->addLayout(messageRow);

    group_ = new QGroupBox(content);
    group_->setObjectName(QStringLiteral("RadioGroup1"));
    groupLayout_ = new QVBoxLayout(group_);
    groupLayout_->setSpacing(0);
    // The caption is longer than the page is wide: it wraps inside the group.
    auto* caption = new QLabel(QStringLiteral("Power Options (exit if lower left button on main menue or IBUS idle auto exit "
                                              "or if check control button exit is active and pressed "),
                               group_);
    caption->setObjectName(QStringLiteral("RadioGroup1Caption"));
    caption->setWordWrap(true);
    groupLayout_->addWidget(caption);
    buttons_ = new QButtonGroup(group_);
    box->addWidget(group_);
    box->addStretch(1);

    connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit powerOptionChanged(id);
    });
}

void TabSpecial::setPowerOptions(const QStringList& texts)
{
    const auto old = buttons_->buttons();
    for (QAbstractButton* b : old) {
        buttons_->removeButton(b);
        delete b;
    }
    for (int i = 0; i < texts.size(); ++i) {
        auto* b = new QRadioButton(texts[i], group_);
        b->setFocusPolicy(Qt::ClickFocus);
        groupLayout_->addWidget(b);
        buttons_->addButton(b, i);
    }
}

QStringList TabSpecial::powerOptions() const
{
    QStringList out;
    for (int i = 0; QAbstractButton* b = buttons_->button(i); ++i)
        out << b->text();
    return out;
}

int TabSpecial::powerOptionIndex() const
{
    return buttons_->checkedId();
}

void TabSpecial::setPowerOptionIndex(int index)
{
    // An index beyond the last option (a hibernation no longer offered) selects the last.
    const int count = int(buttons_->buttons().size());
    if (index >= count && count > 0)
        index = count - 1;
    if (QAbstractButton* b = buttons_->button(index)) {
        b->setChecked(true);
        return;
    }
    // No option: an exclusive group must let go of its check first.
    if (QAbstractButton* checked = buttons_->checkedButton()) {
        buttons_->setExclusive(false);
        checked->setChecked(false);
        buttons_->setExclusive(true);
    }
}

} // namespace zarn
