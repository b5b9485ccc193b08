#include "ui/PlainItemHighlight.h"

#include "ui/Controls.h"
#include "ui/FocusMark.h"
#include "ui/FocusRings.h"
#include "ui/PlainPanel.h"

#include <QApplication>
#include <QSet>
#include <QWidget>

namespace zarn {

namespace {

// Take the focus color as the focus enters them.
const QStringList& enterHighlighted()
{
    static const QStringList names = QStringList{"BitBtnWithColor94", "BitBtnWithColor100"} + FocusRings::characterKeys();
    return names;
}
// Take the background color as the focus leaves them.
const QStringList& exitColored()
{
    static const QStringList names =
        enterHighlighted() + QStringList{"BitBtnWithColor40", "BitBtnWithColor82", "BitBtnWithColor83"};
    return names;
}

bool within(const QWidget* item, const QWidget* w)
{
    return w && (w == item || item->isAncestorOf(w));
}

} // namespace

PlainItemHighlight::PlainItemHighlight(WindowAccess access, QObject* parent)
    : QObject(parent)
    , access_(std::move(access))
    , window_(access_.window)
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        connect(app, &QApplication::focusChanged, this, &PlainItemHighlight::focusChanged);
    // Qt tells focus changes only in the active window; the knob works in any.
    if (access_.window)
        connect(&FocusMark::of(access_.window), &FocusMark::moved, this, [this](QWidget* from, QWidget* to) {
            if (window_ && !window_->window()->isActiveWindow())
                focusChanged(from, to);
        });
}

PlainItemHighlight::~PlainItemHighlight() = default;

void PlainItemHighlight::focusChanged(QWidget* old, QWidget* now)
{
    if (!window_ || !access_.roles)
        return;
    mailBodyFocus(old, now);
    static const QSet<QString> colored(exitColored().begin(), exitColored().end());
    static const QSet<QString> entering(enterHighlighted().begin(), enterHighlighted().end());
    // The items that hold the old or the new focus, themselves or in a child.
    QList<QWidget*> items;
    for (QWidget* end : {old, now})
        for (QWidget* w = end; w && w != access_.window; w = w->parentWidget())
            if (colored.contains(w->objectName()) && !items.contains(w))
                items << w;
    for (QWidget* item : items) {
        const bool was = within(item, old);
        const bool is = within(item, now);
        if (was && !is)
            BitBtnWithColor1Exit(item);
        else if (!was && is && entering.contains(item->objectName()))
            BitBtnWithColor1Enter(item);
    }
}

// MailBodyEnter and MailBodyExit: the mail text is drawn in the focus color while it
// has the focus. The text, not the background: a page of orange would dazzle at night.
void PlainItemHighlight::mailBodyFocus(QWidget* old, QWidget* now)
{
    static const QString body = QStringLiteral("MailBody");
    if (now && now->objectName() == body)
        Controls::setTextColor(now, fromBgr(access_.roles->clOrange));
    if (old && old != now && old->objectName() == body)
        Controls::setTextColor(old, fromBgr(access_.roles->clreadabletext));
}

void PlainItemHighlight::BitBtnWithColor1Enter(QWidget* item)
{
    Controls::setBackground(item, fromBgr(access_.roles->clOrange));
}

void PlainItemHighlight::BitBtnWithColor1Exit(QWidget* item)
{
    const ColorRoles& roles = *access_.roles;
    Controls::setBackground(item, fromBgr(roles.clschwarz));
    const QString name = item->objectName();
    if (name == QLatin1String("BitBtnWithColor82") || name == QLatin1String("BitBtnWithColor83")) {
        auto* strip = access_.window->findChild<QWidget*>(QStringLiteral("Sidepanel") + name.right(2));
        Controls::setBackground(strip, fromBgr(roles.clHellblau));
        if (auto* panel = qobject_cast<PlainPanel*>(strip))
            panel->setBevel(PlainPanel::Bevel::Raised);
    } else if (name == QLatin1String("BitBtnWithColor100")) {
        item->hide();
    }
}

} // namespace zarn
