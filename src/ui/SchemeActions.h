#pragma once

#include "ui/ColorRoles.h"
#include "ui/ColorScheme.h"
#include "ui/DisplayGamma.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPixmap>

#include <functional>
#include <optional>

class QScrollBar;

namespace zarn {

class ZarnWindow;

// The handlers of the color schemes, the customized look's pickers, the header font,
// the two picture choosers and the brightness items. Every dialog sits behind a
// replaceable function so that tests answer it without a window. Main thread only.
class SchemeActions : public QObject {
    Q_OBJECT
public:
    // Wired to the controls that exist then: create it once the window has built its
    // pages. A child of the window; the composition root creates the one instance.
    explicit SchemeActions(ZarnWindow& window);

    // "CUSTOM 1" and "CUSTOM 2"; the program moves them to and from the settings.
    SchemeSlots customSlots;

    // Dialogs: a color (nullopt: cancelled), a font (nullopt: cancelled), a file to
    // open for a filter such as "Bitmaps (*.bmp)" (empty: cancelled).
    std::function<std::optional<QColor>(const QColor& initial)> colorPicker;
    std::function<std::optional<QFont>(const QFont& initial)> fontPicker;
    std::function<QString(const QString& filter)> filePicker;
    // Writes the settings file (SaveSettings); set by the program.
    std::function<void()> saveSettings;
    // Sets the display gamma; defaults to the X11 display's gamma ramp.
    std::function<void(const GammaRamp&)> setGamma;
    // Told of every new default now-playing picture, after the now-playing page has
    // taken it as its default cover.
    std::function<void(const QPixmap&)> nowPlayingPicture;

    // Scheme items of the "Schemes" settings sub-page.
    void BMWpanel81Click(); // "Color scheme E39 default"
    void BMWpanel80Click(); // "Color scheme CUSTOM 1"
    void BMWpanel77Click(); // "Color scheme CUSTOM 2"
    void BMWpanel78Click(); // "Select classic look"
    void BMWpanel79Click(); // "Select customized look"
    void Button9Click();    // "Save Colors as Custom 1"
    void Button13Click();   // "Save Colors as Custom 2"
    void FonthighcolorbuttonClick();
    void FontlowcolorbuttonClick();
    void CustompanelheadercolorbuttonClick();
    void SelButton2Click(); // now-playing picture ("MP3" sub-page)
    void SelButton9Click(); // picture menu background ("Schemes" sub-page)
    void BMWpanel21Click(); // "Lighter"
    void BMWpanel20Click(); // " Darker"
    void ScrollBar1Change(int position);
    QScrollBar* ScrollBar1() const { return scrollBar1_; }

    // The color dialog on a role; OK sets the role. The scheme is applied afterwards,
    // after a cancel too unless repaintOnCancel is false.
    void pickRoleColor(quint32 ColorRoles::*role, bool repaintOnCancel = true);
    // A right-click menu with one item on the control that picks a role's color.
    void addRoleMenu(QWidget* control, const QString& text, quint32 ColorRoles::*role, bool repaintOnCancel = true);

    // Loads the default now-playing picture (thumbnail on the "MP3" sub-page and the
    // nowPlayingPicture hook). A file that cannot be read changes nothing: false.
    bool loadNowPlayingPicture(const QString& file);

    // Header font: always bold; the Layout tab's title field shows the same name at
    // 0.4 x the size, truncated.
    QFont headerFont() const;
    int headerFontSize() const; // the font's pixel size (its point size if set in points)
    void setHeaderFont(const QString& name, int size);
    void pickHeaderFont(); // "Select Font"

private:
    void connectClick(const char* name, void (SchemeActions::*handler)());
    void pickLookColor(quint32 ColorRoles::*role);

    ZarnWindow& window_;
    QScrollBar* scrollBar1_ = nullptr;
};

} // namespace zarn
