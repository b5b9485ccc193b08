#pragma once

#include <QObject>

class QWidget;

namespace zarn {

class SchemeActions;
class ZarnWindow;

// The "Layout" settings sub-page: a small live preview of the main menu whose parts
// pick their role colors on a right click, the caption fields of the twelve items and
// the title, and the header font. Main thread only.
class LayoutTab : public QObject {
    Q_OBJECT
public:
    // Caption field -> the main menu item it names.
    struct Field {
        const char* edit;
        const char* item;
    };
    static const Field (&fields())[12];

    LayoutTab(ZarnWindow& window, QWidget* tab);
    static LayoutTab* of(const ZarnWindow& window);

    // The color and font pickers and the save run through these; until they are set
    // the pickers do nothing.
    void setSchemeActions(SchemeActions& schemes) { schemes_ = &schemes; }

    // The fields show the items' captions and the title (after the settings are read).
    void copyCaptionsFromMenu();

    void Button16Click(); // "Save Main Menue Captions"
    void Button23Click(); // "Header Font default"

private:
    void addMenu(QWidget* control, const QString& text, void (LayoutTab::*pick)());
    void pickClschwarz();
    void pickClOrange();
    void pickCldunkelblau();
    void pickClHellblau();
    void pickClreadabletext();
    void pickHeaderFont();

    ZarnWindow& window_;
    SchemeActions* schemes_ = nullptr;
};

// Fills the "Layout" tab; the returned object is a child of the tab.
LayoutTab* buildLayoutTab(ZarnWindow& window, QWidget* tab);

} // namespace zarn
