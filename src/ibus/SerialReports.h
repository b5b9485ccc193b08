#pragma once

// The reports of the serial component: place, noise and the exact text shown after
// "SerialNG: ". A report passes only while ErrorNoise >= its noise (0 = errors,
// 1 = warnings, 2 = messages). The code sent with it is the errno, else 0.
namespace zarn::SerialReports {

struct Report {
    int place;
    int noise;
    const char* msg;
};

inline constexpr Report StartDeactivating{100, 2, "Msg start deactivating Port"};
inline constexpr Report ClosingPort{103, 0, "Error closing Port"};
inline constexpr Report ThreadIsRunning{104, 1, "Warning ThreadIsRunning"};
inline constexpr Report StartReactivating{110, 2, "Msg start reactivating Port"};
inline constexpr Report Reopening{112, 0, "Error reopening Port"};
inline constexpr Report SettingRts{501, 0, "Error setting RTS"};
inline constexpr Report ClearingRts{502, 0, "Error clearing RTS"};
inline constexpr Report SettingDtr{601, 0, "Error setting DTR"};
inline constexpr Report ClearingDtr{602, 0, "Error clearing DTR"};
inline constexpr Report SettingCommState{802, 0,
    "Error setting CommState, 87 indicate that Parms are incorrect"};
// %1 the device file, %2 "even" or "odd". A pseudo-terminal has no parity at all; a real
// interface without it lets corrupted bytes through as good ones.
inline constexpr Report NoParity{803, 1, "Warning %1 cannot do %2 parity, bus errors go undetected"};
inline constexpr Report SendWhilePending{901, 2, "Msg, dont enter SendData while SendInProgress is set"};
inline constexpr Report WritingData{903, 0, "Error writing Data"};
inline constexpr Report WriteTimeOut{9701, 0, "Error write TimeOut"};
inline constexpr Report WriteResult{9702, 0, "Error getting Overlapped Result"};
inline constexpr Report ClearCommError{9803, 0, "Error ClearCommError"};
inline constexpr Report ReadingData{9804, 0, "Error reading Data"};
inline constexpr Report WaitResult{9911, 0, "Error getting Overlappedresult"};

} // namespace zarn::SerialReports
