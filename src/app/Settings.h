#pragma once

#include "ui/ColorRoles.h"

#include <QString>
#include <QStringList>

#include <array>

namespace zarn {

// The five role colors of a color scheme, 0x00BBGGRR.
using SchemeColors = SchemeSlot;

struct MenuItemPosition {
    int top = 0;
    int left = 0;
    bool operator==(const MenuItemPosition&) const = default;
};

struct MailServer {
    QString serverName;
    QString serverPort; // as typed; see Settings::pop3Port()
    QString serverUser;
    QString serverPassword;
    bool operator==(const MailServer&) const = default;
};

// Every value of Zarn.ini except the [codes] section. A default-constructed
// Settings holds the defaults of the key table (SettingsKeys). The program copies
// its live values in before SaveSettings and applies them after LoadSettings.
// Main thread only.
struct Settings {
    Settings();

    QStringList webSites; // Site0 .. Site100

    QString versiontitle;
    QString lastMp3Played; // written on its own when a file starts playing
    struct MainMenuCaptions {
        QString BMWpanel1, BMWpanel2, BMWpanel3, BMWpanel6, BMWpanel4, BMWpanel7,
            BMWpanel89, BMWpanel76, BMWpanel123, BMWpanel8, BMWpanel5, BMWpanel9;
        bool operator==(const MainMenuCaptions&) const = default;
    } captions; // BMW_supercaption of the main menu items

    QString headerFontName; // always bold
    int headerFontSize = 0;

    int idleShutdownSeconds = 0; // shutdownafterIBUSidle_seconds, 60 .. 9999999
    QString shutDownMessage;
    int powerOption = 0; // RadioGroup1.ItemIndex, as stored
    int portIndex = 0;   // CBPort.ItemIndex, as stored; -1: none
    QString devicePath;  // [COM-Port] DevicePath: the serial device, empty = from portIndex
    int rtoExtraDelayTime = 0; // ms
    int rtoCharDelayTime = 0;  // microseconds
    int driversLogRecord = 0;  // [Driverslog] record: 1 business mode, 0 private

    SchemeColors scheme, cust1, cust2;
    quint32 clreadabletext = 0;
    quint32 clFontHigh = 0;
    quint32 clFontLow = 0;
    quint32 ClCustompanelheader = 0;

    struct WindowBounds {
        int width = 0, top = 0, height = 0, left = 0;
        bool operator==(const WindowBounds&) const = default;
    } form1; // window bounds
    struct AlternateMenuPositions {
        MenuItemPosition E649Panel, E644Panel, E644Panel1, E644Panel2, E644Panel3, E646Panel,
            E6445Panel, E60QuilPanel, E648Panel, E600Panel;
        bool operator==(const AlternateMenuPositions&) const = default;
    } alternateMenu;

    double warningThresholdKm = 0; // RadarSensitivitylabel
    std::array<double, 6> eqGain{}; // EQ1_Gain .. EQ6_Gain, written on their own
    bool radarWarning = false;
    bool startWithRandom = false;
    bool radarAcousticSignal = false;
    bool radarOnlyWarnIfTooFast = false;
    bool shutDownMessageActive = false;
    bool shutdownWithCheckControl = false;
    bool autoReplayAfterRestart = false;
    bool disableMp3FileNameDisplay = false;
    bool shutdownAfterIbusIdle = false;
    bool cdEmulation = false; // CD_CheckBox
    bool noSend = false;      // NOSEND_CheckBox
    bool miles = false;       // Miles_checkbox
    bool alternateLayout = false; // [MainMenueLayout] New
    int radarScaleKm = 0;     // BMWpanel105.tag

    MailServer pop3, smtp;
    int smtpAuthenticationType = 0;
    QString personalEmail;

    QString alternativeBackgroundBitmap, mp3PlayingBackgroundBitmap;
    QString mp3, movies, duallog, application1, radarsound, launchButtonExe;

    bool operator==(const Settings&) const = default;

    static QStringList defaultWebSites();

    // What the pages show for these values.
    bool businessMode() const { return driversLogRecord == 1; }
    QString driversLogMessage() const;     // " Business mode set" / " Private mode set"
    QString driversLogModeCaption() const; // "Mode is BUSINESS" / "Mode is PRIVATE"
    QString warningThresholdLabel() const; // " Warning Threshold is now 1100 m"
    QString radarWarningCaption() const;   // "Radarwarning now ON" / "... OFF"
    QString radarSoundCaption() const;     // "Sound=ON" / "Sound=OFF"
    QString radarTooFastCaption() const;   // "Only warn if too fast" / "Warn regardless of speed"
    QString radarScaleCaption() const;     // "3 km"
    QString headerCaption() const;         // " " + title + " Main"
    int layoutTitleFontSize() const;       // 0.4 x the header size, truncated
    int pop3Port() const;                  // the typed port, or 110 when it is no number
    bool launchItemVisible() const { return !launchButtonExe.isEmpty(); }

    // The rules the fields apply to any value: the idle seconds are clamped, any
    // record other than 1 is private mode (0).
    void clampToFields();
};

} // namespace zarn
