#pragma once

#include "ui/WindowAccess.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace zarn {

// The focus mark of the plain panels that act as focusable items (the web area, the URL
// list panel, the music page's character keys and frame, the mail page's band panels):
// they change their background as the focus enters and leaves them or a child of theirs.
// Main thread only.
class PlainItemHighlight : public QObject {
    Q_OBJECT
public:
    explicit PlainItemHighlight(WindowAccess access, QObject* parent = nullptr);
    ~PlainItemHighlight() override;

    void BitBtnWithColor1Enter(QWidget* item);
    void BitBtnWithColor1Exit(QWidget* item);

private:
    void focusChanged(QWidget* old, QWidget* now);
    void mailBodyFocus(QWidget* old, QWidget* now);

    WindowAccess access_;
    // Focus changes go on after the window is gone.
    QPointer<QWidget> window_;
};

} // namespace zarn
