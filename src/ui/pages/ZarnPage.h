#pragma once

#include "ui/PageInput.h"

#include <QWidget>

namespace zarn {

// One page of the page control. Children docked to an edge or to the whole page are
// placed by applyDocking(); everything else keeps its design geometry until the screen
// layout moves it. The page owns its controls' handlers and takes the car's controls
// through its PageInput first. Main thread only.
class ZarnPage : public QWidget, public PageInput {
    Q_OBJECT
public:
    explicit ZarnPage(const QString& objectName, QWidget* parent = nullptr);

    // Places the docked children for the current size. Runs on every resize, and the
    // screen layout calls it directly so that hidden pages are right at once too.
    virtual void applyDocking() {}

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace zarn
