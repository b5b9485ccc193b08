#pragma once

#include <QColor>
#include <QWidget>

namespace zarn {

// The menu item of every page: a large caption with a side bar, and a focus frame in
// the focus color while it is its window's focus widget, active window or not
// (FocusMark). It draws its text itself (malen).
class TBMWpanel : public QWidget {
    Q_OBJECT
public:
    explicit TBMWpanel(const QString& objectName, QWidget* parent = nullptr);

    bool BMW_right() const { return right_; }
    void setBMW_right(bool right);
    int BMW_llf1() const { return llf1_; }
    void setBMW_llf1(int px);
    int BMW_llf2() const { return llf2_; }
    void setBMW_llf2(int px);
    int BMW_rectanglewidth() const { return rectangleWidth_; }
    void setBMW_rectanglewidth(int px);
    const QString& BMW_supercaption() const { return caption_; }
    void setBMW_supercaption(const QString& caption);
    QColor BMW_Focuscolor() const { return focusColor_; }
    void setBMW_Focuscolor(const QColor& color);
    bool BMW_7er_style() const { return sevenStyle_; }
    void setBMW_7er_style(bool on);
    bool BMW_highlighted() const { return highlighted_; }
    QColor BMW_Lightcolor() const { return lightColor_; }
    void setBMW_Lightcolor(const QColor& color);

    // The panel's own background and text colors.
    QColor color() const { return background_; }
    void setColor(const QColor& color);
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);

    // Show or drop the focus mark without moving the focus.
    void highlight();
    void lowlight();

    // Runs the item's click action, as a mouse click or a knob press does.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void malen(QPainter& p);
    void setHighlighted(bool on);

    bool right_ = false;
    int llf1_ = 8;
    int llf2_ = 0;
    int rectangleWidth_ = 20;
    QString caption_;
    QColor focusColor_{0xFF, 0x80, 0x00};
    bool sevenStyle_ = true;
    bool highlighted_ = false;
    QColor lightColor_{0x7A, 0x8A, 0xE7};
    QColor background_{0x00, 0x00, 0x40};
    QColor fontColor_{Qt::white};
};

} // namespace zarn
