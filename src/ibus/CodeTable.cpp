#include "ibus/CodeTable.h"

#include "core/StatusLog.h"

namespace zarn {

const std::array<CodeTable::Definition, CodeTable::CodeCount>& CodeTable::definitions()
{
    static const std::array<Definition, CodeCount> table{{
        {"BMW_Poll_CD_Player", "6803180172"},
        {"BMW_Check_Control_Press", "8004FF57012D"},
        {"BMW_Request_Current_CD_Track", "6805183800004D"},
        {"BMW_Play_CD", "6805183803004E"},
        {"BMW_Stop_CD", "6805183801004C"},
        {"BMW_Poll_CD_Player_repsonse", "1804FF0200E1"},
        {"BMW_Answer_Current_CD_Track_notplaying_1_1", "180A68390002000100010140"},
        {"BMW_Answer_Current_CD_Track_playing_1_1", "180A6839000900010001014B"},
        {"BMW_Answer_Current_CD_Track_Start_1_1", "180A68390209000100010149"},
        {"BMW_Randomize", "5047BCEB3A"},
        {"BMW_Tape_Alternative", "680D3BA5620145446F6C62792043E2"},
        {"BMW_Tape", "680D3BA5620145446F6C62792042E3"},
        {"BMW_RTS_Activate", "68123B236210415558202020202020202020205C"},
        {"BMW_BMW_Tone_Press", "F004684804D0"},
        {"BMW_Radio_Power_Press", "F004684806D2"},
        {"BMW_FM_Press", "F004684831E5"},
        {"BMW_AM_Press", "F004684821F5"},
        {"BMW_Menu_Press", "F004FF483477"},
        {"BMW_TAPE_play", "F005684B068050"},
        {"BMW_TAPE_standby", "F005684B0630E0"},
        {"BMW_TAPE_stopon", "F005684B06E232"},
        {"BMW_TAPE_stopon2", "F005684B068454"},
        {"BMW_Phone_On_Talk_free", "C804E72C3136"},
        {"BMW_Phone_On_NoTalk_nofree", "C804E72C1017"},
        {"BMW_Phone_On_Talk_nofree", "C804E72C3037"},
        // Without their checksums: the ones long given here (82, C2) belong to the other
        // message, so a real knob never matched them.
        {"BMW_Menu_turnknob_Press", "F0043B4845"},
        {"BMW_Menu_turnknob_Press_long", "F0043B4805"},
        {"BMW_Menu_turnknob_Counterclockwise", "F0043B490"},
        {"BMW_Menu_turnknob_Clockwise", "F0043B498"},
        {"BMW_01_Press", "F004684811C5"},
        {"BMW_02_Press", "F004684801D5"},
        {"BMW_03_Press", "F004684812C6"},
        {"BMW_04_Press", "F004684802D6"},
        {"BMW_05_Press", "F004684813C7"},
        {"BMW_06_Press", "F004684803D7"},
        {"BMW_Wheel_Up_Press", "5004C83B01A6"},
        {"BMW_Wheel_Down_Press", "5004C83B08AF"},
        {"BMW_Select_Press", "no code assigned"},
        {"BMW_TP_Press", "F004684832E6"},
        {"BMW_Clock_Press", "F004FF480744"},
        {"BMW_RAD_TEL_Press", "5004FF3B40D0"},
        {"BMW_RAD_NAV_Press", "F004684830E4"},
        {"BMW_Mode_Press", "F004684823F7"},
        {"BMW_odometer_msg", "800ABF17"},
        {"BMW_Nav_City", "7F23C8A40001"},
        {"BMW_Nav_street", "7F23C8A40002"},
        {"BMW_Nav_latlon", "7F14C8A2"},
        {"BMW_kmh_umin", "8005BF18"},
        {"BMW_Time", "800CE72401"},
    }};
    return table;
}

CodeTable::CodeTable()
{
    for (int i = 0; i < CodeCount; ++i)
        codes_[i] = QLatin1StringView(definitions()[i].defaultValue);
}

void CodeTable::Load(const Reader& reader, StatusLog& log)
{
    log.AddStatusLine(QStringLiteral("Now listing part of zarn.ini options in effect - BMW Ibus codes used:"));
    for (int i = 0; i < CodeCount; ++i) {
        const QString key = QLatin1StringView(definitions()[i].key);
        codes_[i] = reader(key, QLatin1StringView(definitions()[i].defaultValue));
        log.AddStatusLine(key + QLatin1Char('=') + codes_[i]);
    }
    log.AddStatusLine(QStringLiteral("List of BMW Ibus codes used ended - note: some of them may be zarn defaults (if there is no setting in zarn.ini)"));
}

} // namespace zarn
