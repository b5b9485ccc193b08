#pragma once

#include "ui/pages/ZarnPage.h"

#include <QVector>

namespace zarn {

class MusicListModel;
class PlainPanel;
class TBMWListbox;
class TBMWpanel;

// Page 4, the music browser: back and up items, the filter line with "Make Random
// List", the character keys, the list `BMWListbox1` and the status strip `FilterInfo`.
// The page owns the list's input (its knob steps and press, the long knob press) and
// draws the model it is given. Main thread only.
class MusicPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MusicPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // The entries shown; not owned. Until one is set the list is empty.
    void setModel(MusicListModel* model);
    MusicListModel* model() const { return model_; }
    TBMWListbox* BMWListbox1() const { return list_; }

    // The directory the up button and the long press stop at ("MP3 File Path").
    void setMusicRoot(const QString& root) { root_ = root; }
    const QString& musicRoot() const { return root_; }
    const QString& filterText() const { return filter_; }
    // The status strip FilterInfo.
    void setFilterInfo(const QString& text);

    // Selects every list entry whose text is this file name (the now-playing page is
    // being shown). Never fails toward the caller; without a list nothing happens.
    void selectPlayingFile(const QString& fileName);

    // Applies a filter: the list shows the names that begin with it, the focus goes to
    // the list (to the up item when nothing is left), the keys follow.
    void RelistMusicFolder(const QString& filter);
    // Enables exactly the keys whose character follows the first n of a listed name.
    void UpdateFilterKeys(int n);
    void BMWListbox1Click();
    void BMWListbox1Enter();
    void BMWpanel12Click(); // one directory up, not above the music root (also BMWpanel70)
    void Panel82Click();    // "<"
    // Back to the music root; only while the up item or the list has the focus.
    void longClick();

    // PageInput: the list's knob steps and press, the long press.
    bool turn(Turn turn, QWidget* focus) override;
    bool press(QWidget* focus) override;
    bool longPress() override;

signals:
    // A file entry was clicked (or pressed with the knob): play it.
    void playRequested(const QString& path);
    // The counter `Button7` shows a new position ("n of count"); the header follows it.
    void positionShown(const QString& position);
    // "Make Random List" (BMWpanel71) was clicked.
    void randomListRequested();

private:
    struct Key {
        PlainPanel* panel;
        QString text; // appended to the filter
        QChar match;  // the character it stands for in a name, letters in upper case
    };
    void characterKeyClick(const Key& key);
    void enterDirectory(const QString& path);
    void showPosition(int index);
    QString maskFor(const QString& filter) const;

    PlainPanel* filterInfo_;
    PlainPanel* filterDisplay_;
    PlainPanel* counter_;
    TBMWpanel* up_;
    TBMWListbox* list_;
    QVector<Key> keys_;
    MusicListModel* model_ = nullptr;
    QString root_;
    QString filter_;
};

} // namespace zarn
