// Panel resource ids and control ids of VASKInterface.uir. The application addresses
// panels and controls only through these names; a test checks them against the file.
#pragma once

inline constexpr const char* kResourceFile = "VASKInterface.uir";

// Panels
inline constexpr int PANEL_CALIBRATION = 1;
inline constexpr int PANEL_QV = 3;
inline constexpr int PANEL_KX = 4;
inline constexpr int PANEL_LIVE = 5;
inline constexpr int PANEL_MESSAGE = 6;
inline constexpr int PANEL_MAIN = 7;
inline constexpr int PANEL_CONNECTED = 8;
inline constexpr int PANEL_CLOCK = 9;
inline constexpr int PANEL_START = 10;
inline constexpr int PANEL_DONE = 11;

// Calibration panel (1)
inline constexpr int CAL_READING_B = 3;     // float, counts at level B
inline constexpr int CAL_READING_A = 4;     // float, counts at level A
inline constexpr int CAL_LEVEL_B = 5;       // float, thousandths of the length unit
inline constexpr int CAL_LEVEL_A = 6;       // float
inline constexpr int CAL_GAUGE_LENGTH = 7;  // float, one of the table lengths
inline constexpr int CAL_CALIBRATE = 8;     // button: calibrate2callback
inline constexpr int CAL_DEFAULT = 9;       // button: setdefaultcallback
inline constexpr int CAL_GAUGE_TYPE = 10;   // int 0, 1 or 2
inline constexpr int CAL_LIVE = 11;         // button: displaycallback
inline constexpr int CAL_MAIN = 12;         // button: returntomaincallback
inline constexpr int CAL_TAKE_A = 13;       // button: takereadingacallback
inline constexpr int CAL_TAKE_B = 14;       // button: takereadingbcallback
inline constexpr int CAL_TAKING = 15;       // text box, a reading as it is taken

// qv settings panel (3)
inline constexpr int QV_READ = 2;
inline constexpr int QV_SET = 3;
inline constexpr int QV_MAIN = 4;
inline constexpr int QV_CLOCK = 5;
inline constexpr int QV_START = 6;
inline constexpr int QV_BYTE8 = 7;            // int 0..255, byte 8
inline constexpr int QV_BYTE10 = 8;           // int 0..255, byte 10
inline constexpr int QV_BYTE9 = 9;            // int 0..255, byte 9
inline constexpr int QV_START_FLAG = 10;      // 0/1, byte 42 bit 5
inline constexpr int QV_SECOND_CHANNEL = 11;  // 0/1, byte 42 bit 4
inline constexpr int QV_OPTION0_OFF = 12;     // 0/1, byte 42 bit 0 inverted
inline constexpr int QV_RS232 = 13;           // 0/1, byte 42 bit 1
inline constexpr int QV_BYTE23 = 14;          // int 0..15, byte 23
inline constexpr int QV_BYTE7 = 15;           // int 0..255, byte 7

// kx settings panel (4)
inline constexpr int KX_READ = 2;
inline constexpr int KX_SET = 3;
inline constexpr int KX_MAIN = 4;
inline constexpr int KX_SECOND_CHANNEL = 5;  // 0/1, byte 42 bit 4
inline constexpr int KX_START_FLAG = 6;      // 0/1, byte 42 bit 5
inline constexpr int KX_OPTION0 = 7;         // 0/1, byte 42 bit 0
inline constexpr int KX_OPTION6 = 8;         // 0/1, byte 42 bit 6
inline constexpr int KX_RS232 = 9;           // 0/1, byte 42 bit 1
inline constexpr int KX_BYTE7 = 10;          // int 0..255, byte 7

// Live data panel (5)
inline constexpr int LIVE_RECORD = 2;  // text box, the last record
inline constexpr int LIVE_START = 3;
inline constexpr int LIVE_STOP = 4;
inline constexpr int LIVE_RETURN = 5;
inline constexpr int LIVE_LOG_FILE = 6;
inline constexpr int LIVE_SECOND = 7;  // double, the second reading
inline constexpr int LIVE_CALIBRATION = 8;
inline constexpr int LIVE_CHART = 9;  // strip chart
inline constexpr int LIVE_MAIN = 10;
inline constexpr int LIVE_CSV = 11;        // 0/1, a timestamped CSV beside the log
inline constexpr int LIVE_EVERY_RUN = 12;  // 0/1, every run logs to a new file
inline constexpr int LIVE_OPEN_RECORDING = 13;  // button: openrecordingcallback
inline constexpr int LIVE_RECONNECT = 14;       // 0/1, a lost line is waited for, the run goes on

// Message panel (6)
inline constexpr int MESSAGE_TEXT = 2;
inline constexpr int MESSAGE_OK = 3;

// Main panel (7)
inline constexpr int MAIN_PORT = 2;  // ring, 1..4
inline constexpr int MAIN_CONNECT = 3;
inline constexpr int MAIN_KX = 4;
inline constexpr int MAIN_QV = 5;
inline constexpr int MAIN_LIVE = 6;
inline constexpr int MAIN_CALIBRATE = 7;
inline constexpr int MAIN_CLOCK = 8;
inline constexpr int MAIN_START = 9;
inline constexpr int MAIN_QUIT = 10;
inline constexpr int MAIN_PORTS = 11;  // button: portscallback, the Ports… dialog

// Connection result panel (8)
inline constexpr int CONNECTED_TEXT = 2;
inline constexpr int CONNECTED_OK = 3;

// Clock panel (9)
inline constexpr int CLOCK_READ = 2;
inline constexpr int CLOCK_SET = 3;
inline constexpr int CLOCK_YEAR = 4;          // byte 17, shown + 2000
inline constexpr int CLOCK_MONTH = 5;         // byte 16
inline constexpr int CLOCK_DAY_OF_MONTH = 6;  // byte 15
inline constexpr int CLOCK_DAY_OF_WEEK = 7;   // byte 14, shown + 1
inline constexpr int CLOCK_HOURS = 8;         // byte 13
inline constexpr int CLOCK_QV = 9;
inline constexpr int CLOCK_MAIN = 10;
inline constexpr int CLOCK_MINUTES = 11;        // byte 12
inline constexpr int CLOCK_SECONDS = 12;        // byte 11
inline constexpr int CLOCK_COMPUTER_TIME = 13;  // button: computertimecallback

// Scheduled start panel (10)
inline constexpr int START_READ = 2;
inline constexpr int START_SET = 3;
inline constexpr int START_YEAR = 4;   // byte 22, shown + 2000
inline constexpr int START_MONTH = 5;  // byte 21
inline constexpr int START_DAY = 6;    // byte 20
inline constexpr int START_HOUR = 7;   // byte 19
inline constexpr int START_QV = 8;
inline constexpr int START_MAIN = 9;
inline constexpr int START_MINUTE = 10;         // byte 18
inline constexpr int START_NOW_PLUS_HOUR = 11;  // button: nowplushourcallback

// Write done panel (11)
inline constexpr int DONE_OK = 2;
