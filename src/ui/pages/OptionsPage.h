#pragma once

#include "ui/pages/ZarnPage.h"

class QTabWidget;

namespace zarn {

class ComTab;
class TabSpecial;

// Page 1, the settings: the back item and " Darker" in the header row, the settings
// notebook, "Lighter" and " Scale Screen" in the bottom row.
class OptionsPage : public ZarnPage {
    Q_OBJECT
public:
    explicit OptionsPage(QWidget* parent = nullptr);

    enum Tab { Schemes, Mp3, Dirs, Web, Mail, Com, Layout, Special, CamSpeech };

    QTabWidget* TabbedNotebook1() const { return notebook_; }
    ComTab* comTab() const { return com_; }
    TabSpecial* specialTab() const { return special_; }
    // Left empty here; the look's Layout builder fills it.
    QWidget* layoutTab() const { return layout_; }

    void applyDocking() override;

private:
    QTabWidget* notebook_;
    ComTab* com_;
    TabSpecial* special_;
    QWidget* layout_;
};

} // namespace zarn
