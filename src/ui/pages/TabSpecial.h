#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QVBoxLayout;

namespace zarn {

// The "Special" sub-page: the switches of the exit conditions, the bus and the player,
// and the power options. Its controls are changed with the pointer, never by the knob.
class TabSpecial : public QWidget {
    Q_OBJECT
public:
    explicit TabSpecial(QWidget* parent = nullptr);

    // The group's options, replacing the old ones; no option is selected afterwards.
    void setPowerOptions(const QStringList& texts);
    QStringList powerOptions() const;
    // -1: none selected.
    int powerOptionIndex() const;
    void setPowerOptionIndex(int index);

signals:
    void powerOptionChanged(int index);

private:
    QGroupBox* group_;
    QVBoxLayout* groupLayout_;
    QButtonGroup* buttons_;
};

} // namespace zarn
