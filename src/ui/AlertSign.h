#pragma once

#include "ui/PlainPanel.h"

namespace zarn {

// The speed camera alert over the whole window (`AlertPanel`, 185 by 225): a red ring
// holding the camera's limit, its distance along the bottom edge. Hidden until a
// warning; ScreenLayout centres it. Main thread only.
class AlertSign : public PlainPanel {
    Q_OBJECT
public:
    static constexpr int Width = 185;
    static constexpr int Height = 225;

    explicit AlertSign(QWidget* parent = nullptr);

    const QString& limitText() const { return limit_; }
    const QString& distanceText() const { return distance_; }
    // Shows the sign over everything with these texts (repainted only when they change).
    void showWarning(const QString& limitText, const QString& distanceText);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString limit_;
    QString distance_;
};

} // namespace zarn
