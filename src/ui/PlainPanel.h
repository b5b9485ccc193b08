#pragma once

#include <QColor>
#include <QWidget>

namespace zarn {

// A plain caption panel: background, caption, optional raised or lowered bevel. The
// status strips, indicators, keys and the window-level hint panels are made of it.
// Main thread only.
class PlainPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    explicit PlainPanel(const QString& objectName, QWidget* parent = nullptr, const QString& caption = QString());

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor color() const { return background_; }
    void setColor(const QColor& color);
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);
    // The caption reads from bottom to top, for panels taller than wide.
    bool verticalText() const { return vertical_; }
    void setVerticalText(bool on);
    // Captions written as on a form show "&&" as one ampersand; texts from files (tags,
    // paths) are drawn as they are.
    bool literalText() const { return literal_; }
    void setLiteralText(bool on);

    Bevel bevel() const { return bevel_; }
    void setBevel(Bevel bevel);
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int px);
    // Edge colors of the bevel: the highlight runs along the top and left edges of a
    // raised bevel, the shadow along the bottom and right (swapped when lowered).
    QColor bevelHighlight() const { return highlight_; }
    QColor bevelShadow() const { return shadow_; }
    void setBevelColors(const QColor& highlight, const QColor& shadow);

    // Indicator style: raised means "on".
    bool raised() const { return bevel_ == Bevel::Raised; }
    void setRaised(bool on) { setBevel(on ? Bevel::Raised : Bevel::Lowered); }

public slots:
    // Runs the panel's click action, as a mouse click or a knob press does.
    void click() { emit clicked(); }

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString caption_;
    QColor background_{0x00, 0x00, 0x40};
    QColor fontColor_{Qt::white};
    Qt::Alignment alignment_ = Qt::AlignCenter;
    bool wordWrap_ = false;
    bool vertical_ = false;
    bool literal_ = false;
    Bevel bevel_ = Bevel::None;
    int bevelWidth_ = 1;
    QColor highlight_{Qt::white};
    QColor shadow_{0x80, 0x80, 0x80};
};

} // namespace zarn
