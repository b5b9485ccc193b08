#pragma once

#include <QString>

#include <array>
#include <functional>

namespace zarn {

class StatusLog;

// The configurable bus codes of the [codes] section: each is the beginning of a frame
// text that a received frame must begin with. Read once at start, then only read.
class CodeTable {
public:
    enum Code {
        BMW_Poll_CD_Player,
        BMW_Check_Control_Press,
        BMW_Request_Current_CD_Track,
        BMW_Play_CD,
        BMW_Stop_CD,
        BMW_Poll_CD_Player_repsonse,
        BMW_Answer_Current_CD_Track_notplaying_1_1,
        BMW_Answer_Current_CD_Track_playing_1_1,
        BMW_Answer_Current_CD_Track_Start_1_1,
        BMW_Randomize,
        BMW_Tape_Alternative,
        BMW_Tape,
        BMW_RTS_Activate,
        BMW_BMW_Tone_Press,
        BMW_Radio_Power_Press,
        BMW_FM_Press,
        BMW_AM_Press,
        BMW_Menu_Press,
        BMW_TAPE_play,
        BMW_TAPE_standby,
        BMW_TAPE_stopon,
        BMW_TAPE_stopon2,
        BMW_Phone_On_Talk_free,
        BMW_Phone_On_NoTalk_nofree,
        BMW_Phone_On_Talk_nofree,
        BMW_Menu_turnknob_Press,
        BMW_Menu_turnknob_Press_long,
        BMW_Menu_turnknob_Counterclockwise,
        BMW_Menu_turnknob_Clockwise,
        BMW_01_Press,
        BMW_02_Press,
        BMW_03_Press,
        BMW_04_Press,
        BMW_05_Press,
        BMW_06_Press,
        BMW_Wheel_Up_Press,
        BMW_Wheel_Down_Press,
        BMW_Select_Press,
        BMW_TP_Press,
        BMW_Clock_Press,
        BMW_RAD_TEL_Press,
        BMW_RAD_NAV_Press,
        BMW_Mode_Press,
        BMW_odometer_msg,
        BMW_Nav_City,
        BMW_Nav_street,
        BMW_Nav_latlon,
        BMW_kmh_umin,
        BMW_Time,
        CodeCount
    };

    struct Definition {
        const char* key;
        const char* defaultValue;
    };
    // Key and default of every code, in the order they are read and listed.
    static const std::array<Definition, CodeCount>& definitions();

    // Navigation information update in split-screen mode; not configurable.
    static constexpr QLatin1StringView SplitScreenUpdate{"68043B460110"};

    CodeTable(); // all defaults

    // Reads every code with reader(key, default) and lists it in the status log
    // between the two framing lines.
    using Reader = std::function<QString(const QString& key, const QString& defaultValue)>;
    void Load(const Reader& reader, StatusLog& log);

    const QString& operator[](Code code) const { return codes_[code]; }
    void set(Code code, const QString& value) { codes_[code] = value; }

private:
    std::array<QString, CodeCount> codes_;
};

} // namespace zarn
