#include "ui/AlternateMenu.h"

#include "ui/FocusMark.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/TTransparentPanel.h"
#include "ui/ZarnWindow.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>

namespace zarn {

namespace {

const QString Hint = QStringLiteral(" Move the words around, select a bitmap with the Options panel !");
const QColor Grey(0x80, 0x80, 0x80);
constexpr QSize ItemSize(250, 47);

QFont wordFont()
{
    QFont f(QStringLiteral("Arial Narrow"));
    f.setPixelSize(40);
    f.setBold(true);
    return f;
}

// A caption as the menu item shows it: "&&" is one ampersand, a single "&" marks the
// access key and is not shown.
QString shownText(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

void setLabelColor(QLabel* label, const QColor& color)
{
    QPalette p = label->palette();
    if (p.color(QPalette::Active, QPalette::WindowText) == color
        && p.color(QPalette::Inactive, QPalette::WindowText) == color)
        return;
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
}

} // namespace

const std::array<AlternateMenu::Item, 10>& AlternateMenu::items()
{
    static const std::array<Item, 10> table{{
        {"E644Panel", "E644Label", "BMWpanel1", 50, 0},      // music
        {"E646Panel", "E646Label", "BMWpanel3", 250, 0},     // movies
        {"E644Panel3", "E644Label3", "BMWpanel4", 200, 0},   // driver's log
        {"E60QuilPanel", "E60QuilLabel", "BMWpanel89", 400, 0}, // radar
        {"E6445Panel", "E6445Label", "BMWpanel5", 300, 0},   // exit
        {"E649Panel", "E649Label", "BMWpanel9", 0, 0},       // settings
        {"E600Panel", "E600Label", "BMWpanel8", 400, 0},     // mail
        {"E648Panel", "E648Label", "BMWpanel7", 350, 0},     // web
        {"E644Panel2", "E644Label2", "BMWpanel6", 150, 0},   // system status
        {"E644Panel1", "E644Label1", "BMWpanel2", 100, 0},   // I-Bus explorer
    }};
    return table;
}

AlternateMenu::AlternateMenu(ZarnWindow& window, QWidget* page)
    : QObject(page)
    , window_(window)
    , page_(page)
{
    setObjectName(QStringLiteral("AlternateMenu"));

    auto* panel38 = new PlainPanel(QStringLiteral("Panel38"), page);
    panel38->setColor(Grey);
    panel38->setToolTip(Hint);
    panel38_ = panel38;

    picture_ = new QLabel(page);
    picture_->setObjectName(QStringLiteral("E64Image"));
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture_->setMargin(0);
    picture_->setToolTip(Hint);

    const QFont font = wordFont();
    for (std::size_t i = 0; i < items().size(); ++i) {
        const Item& def = items()[i];
        auto* item = new TTransparentPanel(QString::fromLatin1(def.panel), page);
        item->setGeometry(QRect(QPoint(def.left, def.top), ItemSize));
        item->setFocusPolicy(Qt::StrongFocus);
        QPalette pal = item->palette();
        pal.setColor(QPalette::Window, Grey);
        item->setPalette(pal);
        item->setImage(picture_);
        item->setTransparent(true);
        item->installEventFilter(this);

        auto* label = new QLabel(item);
        label->setObjectName(QString::fromLatin1(def.label));
        label->setFont(font);
        label->setGeometry(4, 0, ItemSize.width() - 4, ItemSize.height());
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // The item handles the mouse for its word: a click on either runs the same action.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

        connect(item, &TTransparentPanel::clicked, this, [this, i] { clickThrough(int(i)); });
        items_[i] = item;
        labels_[i] = label;
    }
    for (std::size_t i = 1; i < items_.size(); ++i)
        QWidget::setTabOrder(items_[i - 1], items_[i]);

    page->installEventFilter(this);
    const QRect all(QPoint(0, 0), page->size());
    panel38_->setGeometry(all);
    picture_->setGeometry(all);
    // The words start with the items' built-in captions; the settings' captions follow.
    copyCaptions();
    updateLabelColors();
}

AlternateMenu* AlternateMenu::of(const ZarnWindow& window)
{
    return window.findChild<AlternateMenu*>(QStringLiteral("AlternateMenu"));
}

TTransparentPanel* AlternateMenu::item(const QString& name) const
{
    for (TTransparentPanel* it : items_)
        if (it->objectName() == name)
            return it;
    return nullptr;
}

QMap<QString, QPoint> AlternateMenu::itemPositions() const
{
    QMap<QString, QPoint> out;
    for (TTransparentPanel* it : items_)
        out.insert(it->objectName(), it->pos());
    return out;
}

void AlternateMenu::setItemPositions(const QMap<QString, QPoint>& positions)
{
    for (TTransparentPanel* it : items_) {
        const auto found = positions.constFind(it->objectName());
        if (found != positions.cend())
            it->move(*found);
    }
}

void AlternateMenu::copyCaptions()
{
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (auto* source = window_.findChild<TBMWpanel*>(QString::fromLatin1(items()[i].standsFor)))
            labels_[i]->setText(shownText(source->BMW_supercaption()));
    }
}

void AlternateMenu::setBackground(const QPixmap& picture)
{
    if (picture.isNull())
        picture_->clear();
    else
        picture_->setPixmap(picture);
    // The covered rectangles stay; what lies in them changed.
    for (TTransparentPanel* it : items_)
        it->update();
    if (auto* preview = window_.findChild<QLabel*>(QStringLiteral("AlternativeStart"))) {
        preview->setScaledContents(true);
        preview->setPixmap(picture);
    }
    window_.setAlternateBackgroundSize(picture.size());
}

QPixmap AlternateMenu::background() const
{
    return picture_->pixmap();
}

bool AlternateMenu::loadBackground(const QString& file)
{
    QImage image;
    if (file.isEmpty() || !image.load(file))
        return false;
    setBackground(QPixmap::fromImage(image));
    return true;
}

void AlternateMenu::updateLabelColors()
{
    const QColor high = fromBgr(window_.roles.clFontHigh);
    const QColor low = fromBgr(window_.roles.clFontLow);
    for (std::size_t i = 0; i < items_.size(); ++i)
        setLabelColor(labels_[i], FocusMark::holds(items_[i]) ? high : low);
}

TTransparentPanel* AlternateMenu::itemOf(QObject* o) const
{
    for (TTransparentPanel* it : items_)
        if (it == o)
            return it;
    return nullptr;
}

void AlternateMenu::clickThrough(int index)
{
    if (auto* target = window_.findChild<TBMWpanel*>(QString::fromLatin1(items()[std::size_t(index)].standsFor)))
        target->click();
}

bool AlternateMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == page_) {
        if (event->type() == QEvent::Resize) {
            const QRect all(QPoint(0, 0), page_->size());
            panel38_->setGeometry(all);
            picture_->setGeometry(all);
        }
        return false;
    }
    TTransparentPanel* item = itemOf(watched);
    if (!item)
        return false;

    if (event->type() == FocusMark::Event::type()) {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == item)
                setLabelColor(labels_[i], fromBgr(static_cast<FocusMark::Event*>(event)->gained() ? window_.roles.clFontHigh
                                                                                                 : window_.roles.clFontLow));
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        const bool in = FocusMark::holds(item);
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == item)
                setLabelColor(labels_[i], fromBgr(in ? window_.roles.clFontHigh : window_.roles.clFontLow));
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        pressed_ = item;
        pressGlobal_ = me->globalPosition().toPoint();
        pressPos_ = item->pos();
        dragging_ = false;
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (pressed_ != item)
            return false;
        const bool release = event->type() == QEvent::MouseButtonRelease;
        if (release && me->button() != Qt::LeftButton)
            return false;
        const QPoint delta = me->globalPosition().toPoint() - pressGlobal_;
        if (!dragging_ && delta.manhattanLength() >= QApplication::startDragDistance())
            dragging_ = true;
        if (dragging_) {
            // The word follows the mouse but never leaves the page, where no mouse could
            // fetch it back.
            QPoint to = pressPos_ + delta;
            to.setX(std::clamp(to.x(), 0, std::max(0, page_->width() - item->width())));
            to.setY(std::clamp(to.y(), 0, std::max(0, page_->height() - item->height())));
            item->move(to);
        }
        if (release) {
            const bool click = !dragging_ && item->rect().contains(me->position().toPoint());
            pressed_ = nullptr;
            dragging_ = false;
            if (click)
                item->click();
        }
        return true;
    }
    default:
        return false;
    }
}

AlternateMenu* buildAlternateMenu(ZarnWindow& window, QWidget* page)
{
    if (AlternateMenu* existing = page->findChild<AlternateMenu*>(QStringLiteral("AlternateMenu"),
                                                                  Qt::FindDirectChildrenOnly))
        return existing;
    return new AlternateMenu(window, page);
}

} // namespace zarn
