#pragma once

#include "core/Timer.h"

#include <QWidget>

namespace zarn {

// A one-line text that runs from right to left while scrolling is on and stands still
// while it is off; the text follows itself round after a gap. Its timer is a core Timer,
// so it moves on virtual time in tests. Each step repaints only this control.
// Background and text come from the palette (Window, WindowText). Main thread only.
class TextScroller : public QWidget {
    Q_OBJECT
public:
    static constexpr int TickMs = 50;
    static constexpr int StepPx = 2;
    static constexpr int GapPx = 60;

    explicit TextScroller(const QString& objectName, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    // A new text starts at the left edge.
    void setText(const QString& text);
    bool scrolling() const { return timer_.isActive(); }
    void setScrolling(bool on);
    // Pixels the text has moved to the left of its start.
    int offset() const { return offset_; }

    void step();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int cycle() const;

    Timer timer_;
    QString text_;
    int textWidth_ = 0;
    int offset_ = 0;
};

} // namespace zarn
