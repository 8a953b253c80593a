// The virtual drive's parameter table: descriptions, values, arrays, value
// texts, the device registers (type, version, status word) and the sample
// buffer. Every protocol the drive speaks reads and changes this one table.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/drive_scripts.h"
#include "sim/motor_ident_unit.h"
#include "sim/pos_program_channel.h"

namespace sim {

// What the drive knows about a type code.
struct DriveType {
    char code;         // the type code character of the attribute record
    const char* name;  // the fixture's spelling
    int width;         // bytes of one array element; 0 for types without elements
    bool is_signed;
    bool is_float;
    bool is_string;
};

// Null for an unknown name or code.
const DriveType* FindDriveType(std::string_view name);
const DriveType* FindDriveTypeByCode(char code);

// Flags word of a description.
inline constexpr uint16_t kFlagValueTexts = 0x0020;
inline constexpr uint16_t kFlagHex = 0x0100;
inline constexpr uint16_t kFlagArray = 0x0400;

// Status word bits. A refused write sets the reason; the drive keeps it until
// the next write telegram.
inline constexpr uint16_t kStatusRefused = 0x0001;
inline constexpr uint16_t kStatusWatchdog = 0x0002;
inline constexpr uint16_t kStatusEepromBusy = 0x0004;
inline constexpr uint16_t kStatusTelegramChecksum = 0x0008;
inline constexpr uint16_t kStatusNoParameter = 0x0020;
inline constexpr uint16_t kStatusWriteAccess = 0x0040;
inline constexpr uint16_t kStatusInvalidValue = 0x0080;

inline constexpr int kHighestParameter = 999;
inline constexpr size_t kMaxNameLength = 6;
inline constexpr size_t kMaxTextLength = 128;
inline constexpr size_t kMaxArrayElements = 4096;

// A value the parameter takes by itself, as a drive's state word leaves its
// start-up state: `reads_left` more reads answer the value the parameter has,
// then it holds `value`. A write before that keeps the written value.
struct SettlingValue {
    bool pending = false;
    uint32_t value = 0;
    int reads_left = 0;
};

struct DriveParameter {
    int number = 0;
    std::string name;  // up to 6 characters
    const DriveType* type = nullptr;
    uint8_t unit_index = 0;
    char kind = '0';
    // Raw 32-bit patterns; signed types sign-extended, FLOAT32 as float bits.
    uint32_t minimum = 0;
    uint32_t maximum = 0;
    uint32_t default_value = 0;
    uint32_t value = 0;
    std::string text;                   // STRING value
    std::vector<std::string> text_log;  // every text the drive took, in order (a command channel's log)
    std::vector<uint32_t> elements;     // array values (flag kFlagArray)
    uint8_t read_level = 0;             // 0..15
    uint8_t write_level = 0;            // 0..15
    uint16_t flags = 0;
    bool read_only = false;  // the drive refuses writes
    uint8_t keypad_group = 0;
    uint8_t sc_group = 0;
    std::map<int, std::string> value_texts;  // by value index
    SettlingValue settling;

    bool IsArray() const { return (flags & kFlagArray) != 0; }
    // Whether `raw` lies within minimum..maximum as the type compares.
    bool InRange(uint32_t raw) const;
    // An element of `width` bytes widened to the stored 32-bit form.
    uint32_t Widen(uint32_t element) const;
};

// The drive's download handshake on parameter 80, off unless a test turns it
// on. The program writes -1 to 80 before a data set and -2 after it, then
// polls 80 until bit 15 clears. After the -2 the drive answers `busy_polls`
// more reads of 80 with the -2 still in place (kHandshakeBusyForever: every
// read), then 80 holds `result`: 0 for a set it took, else the number of the
// parameter it refused.
inline constexpr int kHandshakeParameter = 80;
inline constexpr uint32_t kHandshakeSetEnd = 0xFFFFFFFE;  // -2
inline constexpr int kHandshakeBusyForever = -1;

struct DownloadHandshake {
    bool enabled = false;
    int busy_polls = 0;
    uint32_t result = 0;
    // Reads of 80 still to answer busy; set by the write of -2.
    int polls_left = 0;
    bool checking = false;
};

// A run-mode change: parameter 151 reports the run mode that a write of 152
// selected, off unless a test turns it on. After an accepted write of 152,
// `reads_before` reads of 151 still answer the old mode (0: the first read
// already sees the new one; kRunModeNeverFollows: every read). Writing the
// same selection again meanwhile keeps the count.
inline constexpr int kRunModeReportParameter = 151;
inline constexpr int kRunModeSelectParameter = 152;
inline constexpr int kRunModeNeverFollows = -1;

struct RunModeFollow {
    bool enabled = false;
    int reads_before = 0;
    // Reads of 151 still to answer the old mode; set by the write of 152.
    int reads_left = 0;
    bool pending = false;
};

// The drive's memory, read a word at a time through three parameters, off
// unless a test turns it on: after 31 := the high half and 30 := the low half
// of an address, a read of 32 answers the little-endian word at that address
// rounded down to an even one. Bytes never set read as 0.
inline constexpr int kMemoryAddressLowParameter = 30;
inline constexpr int kMemoryAddressHighParameter = 31;
inline constexpr int kMemoryWordParameter = 32;

struct MemoryImage {
    bool enabled = false;
    std::map<uint32_t, uint8_t> bytes;

    // Stores `word` little-endian at `address` and `address` + 1.
    void SetWord(uint32_t address, uint16_t word);
    uint16_t WordAt(uint32_t address) const;
};

// The drive's control word: a test's table of what a write of 551 does to the
// state in 403 (bits 12 to 15 for families 3 and 4, the low 16 bits for
// families 5 to 7), so a drive can run, stop and fall into its error state.
inline constexpr int kControlWordParameter = 551;
inline constexpr int kDriveStateParameter = 403;

struct ControlWordRule {
    uint32_t written = 0;  // the value written to 551
    uint32_t state = 0;    // the state the drive then reports
};

struct ControlWordFollow {
    bool high_nibble = true;  // families 3 and 4
    std::vector<ControlWordRule> rules;
};

// Hand-mode motion of a family-4 drive by command texts, off unless a test
// turns it on: a motion command ("GO V+300", "GOA...", "GOR...", "GO 0": any
// text starting with "GO") written to `command_parameter` puts the state
// (bits 12 to 15 of 403) to `moving_state` at once; "STOP B" there, or a
// write of 551 := 0, brings it to `standing_state` `stop_after_us` later on
// the drive's clock (a motion command in between does not cancel that),
// unless `keeps_moving`.
struct CommandMotion {
    bool enabled = false;
    int command_parameter = 751;
    uint32_t moving_state = 3;
    uint32_t standing_state = 2;
    uint64_t stop_after_us = 0;
    bool keeps_moving = false;
};

// A value a parameter takes by itself at a time on the drive's clock (the
// clock the line's characters are stamped with), as a drive finishing a
// command does.
struct TimedValue {
    int number = 0;
    uint32_t value = 0;
    uint64_t at_us = 0;
};

// The drive's built-in PLC, off unless a test turns it on (AddPlc in
// drive_plc.h lays out its parameters and turns it on). An accepted write
// into one of its program parameters loads the program: the load state
// (452) then reads `load_state_after_load`. While an event program runs, its
// activity counter (554, element 0 or 1) counts up by one every
// `counter_period_us` on the drive's clock.
inline constexpr int kPlcLoadStateParameter = 452;
inline constexpr int kPlcActivityParameter = 554;

struct DrivePlc {
    bool enabled = false;
    std::vector<int> program_parameters;
    uint32_t load_state_after_load = 2;
    bool running[2] = {false, false};
    uint64_t counter_period_us = 100000;
    // Clock time up to which the counters have counted; 0 before the first.
    uint64_t counted_until_us = 0;
};

class DriveTable {
public:
    // Reads the table's text format (sim/README.md). `source` names the text
    // in error messages, which read "<source> line <n>: <what is wrong>".
    static std::optional<DriveTable> Parse(std::string_view text, const std::string& source, std::string* error);
    static std::optional<DriveTable> Load(const std::string& path, std::string* error);

    DriveParameter* Find(int number);
    const DriveParameter* Find(int number) const;
    // Adds or replaces a parameter (tests build small tables this way); one
    // without a type is an INT32.
    void Put(DriveParameter parameter);
    // Takes a parameter out: the drive then answers it as one it does not
    // have.
    void Remove(int number);
    // Adds a parameter of the named type whose limits are the type's whole
    // 32-bit range, and returns it for further settings.
    DriveParameter* PutFullRange(int number, const char* name, const char* type, uint32_t value);

    // Writes return 0 when the drive takes the value, else the status bit
    // that says why not.
    uint16_t WriteValue(int number, uint32_t raw);
    uint16_t WriteText(int number, const std::string& text);
    uint16_t WriteElements(int number, size_t first, const std::vector<uint32_t>& elements);
    // Called before a value read of `number` is answered: moves the download
    // handshake, a pending run-mode change and a settling value on.
    void BeforeValueRead(int number);
    // Parameter `number` takes `raw` at `at_us` (a later write before then
    // does not cancel it).
    void ScheduleValue(int number, uint32_t raw, uint64_t at_us);
    // Gives every scheduled value that is due at `now_us` to its parameter.
    void ApplyDueValues(uint64_t now_us);
    // The state a write of the control word gives, by control_word (and by
    // command_motion for a stop).
    void FollowControlWord(uint32_t raw);
    // The state a command text gives, by command_motion.
    void FollowMotionCommand(int number, const std::string& text);
    // The reads of `number` follow `steps` from now on (drive_scripts.h);
    // replaces an earlier script of that parameter.
    void ScriptReads(int number, std::vector<ReadStep> steps);
    // Once `written` is written to `number`, its reads follow `reads`
    // (kUntilTime steps counted from the write).
    void ScriptCommand(int number, uint32_t written, std::vector<ReadStep> reads);
    // Once `written` is written to `number`, it holds 0 again `after_us` later.
    void ScriptCommandReturn(int number, uint32_t written, uint64_t after_us);
    // The drive's clock as of the last character it heard.
    uint64_t NowUs() const { return now_us_; }
    // Moves the activity counters of the running PLC event programs on.
    void CountPlcActivity(uint64_t now_us);

    // Device registers.
    uint32_t type_number = 0;
    uint32_t version = 0;  // firmware version in steps of 0.05
    uint16_t status = 0;   // status bits that stay set
    DownloadHandshake handshake;
    RunModeFollow run_mode;
    MemoryImage memory;
    ControlWordFollow control_word;
    CommandMotion command_motion;
    DriveIdentification identification;
    DriveStop stop;
    MotorIdentUnit motor_ident;
    DrivePlc plc;
    PosProgramChannel pos_programs;

    // The recorder's buffer, handed out block by block.
    std::vector<uint8_t> samples;
    size_t sample_position = 0;

private:
    std::map<int, DriveParameter> parameters_;
    std::vector<TimedValue> timed_values_;
    std::vector<ReadScript> read_scripts_;
    std::vector<CommandScript> command_scripts_;
    uint64_t now_us_ = 0;

    // drive_scripts.cpp
    void StepReadScript(int number);
    void AfterScriptedWrite(int number, uint32_t raw);
    void MoveIdentification();
    void FollowStopCommand(uint32_t raw);
    // motor_ident_unit.cpp
    void MoveMotorIdent(int number, uint32_t raw);
};

// Path of a fixture that comes with the virtual drive ("drive.tbl").
std::string StockFixturePath(const std::string& name);

}  // namespace sim
