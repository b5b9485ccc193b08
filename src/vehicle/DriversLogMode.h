#pragma once

#include "vehicle/DriversLogSettings.h"

#include <QObject>
#include <QString>

namespace zarn {

// The driver's log's mode: business or private, and whether the question of resuming
// a business trip has been answered. Records are written only in business mode with
// the question answered. The toggle decides by its caption, not by the flags, so
// toggling twice while the question is open leaves it open.
//
// Contract:
// - Main thread only; every member is called there and every signal is emitted there.
// - changed() follows every change of a getter; the page repaints from them.
// - clusterText(text) asks for "Drivers log ON" / "Drivers log OFF" on the cluster;
//   the receiver sends it only when no send is in progress.
// - saveRequested() follows the toggle: the settings file must be written.
// - questionPending() at start-up in business mode: the question page must be shown.
class DriversLogMode : public QObject {
    Q_OBJECT
public:
    explicit DriversLogMode(QObject* parent = nullptr);

    // From Zarn.ini's record (start-up): 1 is business with the question open.
    void load(const DriversLogSettings& settings);
    // What a save stores: record 1 in business mode, 0 in private mode.
    void store(DriversLogSettings& settings) const;

    bool privateMode() const { return privateMode_; }
    bool modeAnswered() const { return modeAnswered_; }
    bool recording() const { return !privateMode_ && modeAnswered_; }
    QString modeCaption() const { return modeCaption_; } // "Mode is BUSINESS" / "Mode is PRIVATE"
    QString message() const { return message_; }         // Driverslog_Msg
    bool indicatorRaised() const { return indicator_; }   // the header's "L"

    void toggle();   // the mode toggle item
    void answerYes(); // "A yes" (the caller then forces an entry)
    void answerNo();  // "A no"

signals:
    void changed();
    void clusterText(const QString& text);
    void saveRequested();
    void questionPending();

private:
    void set(bool privateMode, bool answered, bool indicator);

    bool privateMode_ = false;
    bool modeAnswered_ = false;
    bool indicator_ = false;
    QString modeCaption_;
    QString message_;
};

} // namespace zarn
