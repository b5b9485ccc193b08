#pragma once

#include <QMap>
#include <QObject>
#include <QPixmap>
#include <QPoint>

#include <array>

class QLabel;

namespace zarn {

class TTransparentPanel;
class ZarnWindow;

// The main menu as words on a picture (page 8, the customized look): ten see-through
// items that the user drags with the mouse to any place on the picture. Each word runs
// the click action of the main menu item it stands for. Main thread only.
class AlternateMenu : public QObject {
    Q_OBJECT
public:
    struct Item {
        const char* panel;
        const char* label;
        const char* standsFor; // the main menu item
        int top, left;         // default place on the page
    };
    // In the knob's counter-clockwise order.
    static const std::array<Item, 10>& items();

    AlternateMenu(ZarnWindow& window, QWidget* page);

    // The menu built on the window's page 8, or null before it is built.
    static AlternateMenu* of(const ZarnWindow& window);

    // Item name -> (left, top) in pixels of the page. Names not given keep their place.
    QMap<QString, QPoint> itemPositions() const;
    void setItemPositions(const QMap<QString, QPoint>& positions);

    // The words take the captions of the main menu items (once, after the settings are read).
    void copyCaptions();

    // The background picture; a null pixmap shows none.
    void setBackground(const QPixmap& picture);
    QPixmap background() const;
    // Loads a picture file as the background. A file that cannot be read leaves the
    // current picture and returns false.
    bool loadBackground(const QString& file);

    // The focused word in the selected color, every other word in the unselected one.
    void updateLabelColors();

    TTransparentPanel* item(const QString& name) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTransparentPanel* itemOf(QObject* o) const;
    void clickThrough(int index);

    ZarnWindow& window_;
    QWidget* page_;
    QWidget* panel38_;
    QLabel* picture_;
    std::array<TTransparentPanel*, 10> items_{};
    std::array<QLabel*, 10> labels_{};

    // The item under a held mouse button.
    TTransparentPanel* pressed_ = nullptr;
    QPoint pressGlobal_;
    QPoint pressPos_;
    bool dragging_ = false;
};

// Fills page 8 with the picture menu; the returned object is a child of the page.
AlternateMenu* buildAlternateMenu(ZarnWindow& window, QWidget* page);

} // namespace zarn
