// The parameter database of one drive or one parameter base file: 1000
// parameter entries indexed by number, with descriptions, values, value texts
// and a description profile, typed access by number (get and set in the
// table, read and write through the device's bus) and the display texts of
// values. Every operation that can fail returns an error code (0 = success)
// and leaves its message in MessageBuffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bus/base/device_parameters.h"
#include "bus/base/parameter_entry.h"
#include "parameters/parabase/para_types.h"
#include "platform/base/format.h"

class DataBus;
class ParaDescriptionFile;
class ScopeVariableList;
class StringsProfile;
class ValueTextTable;
class darray;
class dstring;

// Error codes; each is also the number of its message ("PB_%02u" in
// "ParaBase-Messages").
enum ParaBaseError : int {
    kParaOk = 0,
    kParaCannotOpenFile = 1,
    kParaCannotReadFile = 2,
    kParaCannotWriteFile = 3,
    kParaFileAccessError = 4,
    kParaNoValidBase = 5,
    kParaNoParameter = 6,
    kParaTooManyValueTexts = 7,
    kParaDownloadTimeout = 8,
    kParaRefusedByDevice = 9,
    kParaTypeMismatch = 10,
    kParaOutOfRange = 11,
    kParaInvalidData = 12,
    kParaBusError = 13,
    kParaBusErrorInParameter = 14,
    kParaNoScopeMemory = 15,
    kParaEmptyGroup = 16,
    kParaNotEditable = 17,
    kParaWriteLevel = 18,
    kParaNoDescriptionFile = 19,
    kParaShortArray = 20,
    kParaStringsFileInvalid = 21,
    kParaSetMismatch = 22,
    kParaWriteLocked = 23,
    kParaNoBus = 25,
};

// Sizes of the base's text buffers, terminator included.
inline constexpr int kParaPathSize = 260;
inline constexpr int kMessageBufferSize = 512;
inline constexpr int kValueTextBufferSize = 128;
inline constexpr int kDisplayTextSize = 396;
// Longest text a device may deliver for a STRING parameter.
inline constexpr int kMaxDeviceTextLength = 128;

// Indexes of the base's paths.
inline constexpr int kDFilePath = 0;
inline constexpr int kTFilePath = 1;
inline constexpr int kXFilePath = 2;
inline constexpr int kDescriptionFilePath = 3;
inline constexpr int kFilePathCount = 4;
// Scratch paths of the oscilloscope: "..\TMP\Scope.HEX", ".DAT", ".SDC".
inline constexpr int kScratchFileCount = 3;

// Parameters with a meaning to the base.
inline constexpr int kKeypadGroupParameter = 8;
inline constexpr int kSCGroupParameter = 11;
inline constexpr int kIdentificationParameter = 85;
// A write of this parameter is sent without looking at the bus's answer.
inline constexpr int kUncheckedWriteParameter = 4;
// The write level every setter checks with IsWriteAllowed.
inline constexpr int kSetterWriteLevel = 6;
// Significant digits of FLOAT32 numbers as the double getter delivers them.
inline constexpr int kFloatSignificantDigits = 8;

// What a base keeps for the oscilloscope recorder. The ParaBase members that
// use it (ReadScopeBuffer, ExportScopeData, LoadScopeVariableList,
// SetScopeExportPaths) are defined with the oscilloscope engine in
// scope/recorder/; the base only builds the scratch paths (Init) and copies
// them with the base.
struct ScopeRecording {
    // The recordable variables of the device's firmware; null until loaded.
    std::unique_ptr<ScopeVariableList> variables;
    // The last buffer read from the device, with room for 50 bytes more.
    std::vector<uint8_t> samples;
    // Length of that buffer (parameter 62) and the bytes received of it.
    uint16_t bufferLength = 0;
    uint32_t bytesReceived = 0;
    // The raw, value and header files of the export (the scratch paths;
    // the value and header paths can be pointed elsewhere).
    char scratchPaths[kScratchFileCount][kParaPathSize] = {};
};

class ParaBase {
public:
    // An empty base: no bus, no file.
    ParaBase();
    // A base that reads through `bus` from the device at `address`; reads
    // parameter 85 once (the value and the result are not kept).
    ParaBase(DataBus* bus, int address);
    virtual ~ParaBase();
    // A base read from the file set of `path` (InitFile, ReadFileBase); the
    // result is not kept: TableLoaded tells.
    explicit ParaBase(dstring path);
    // A copy of `src` with its own value objects (CopyBase), its bus,
    // address and paths.
    ParaBase(const ParaBase& src);
    ParaBase& operator=(const ParaBase&) = delete;

    // --- progress and messages (overridden by windows that show progress) ---

    // Called by whole-table operations with the entry index before each entry
    // and with 0 when they stop on an error.
    virtual void ReportProgress(int index);
    // False once after CancelRequested was set (and clears it).
    virtual bool ContinueProgress(float percent);
    // The message template of an error code from the message file, in a
    // buffer shared by all bases.
    virtual const char* GetErrorText(int code);

    // --- the table ---

    // The entry of `number`; null outside 0..999.
    ParameterEntry* GetEntry(int number);
    const ParameterEntry* GetEntry(int number) const;
    // Number and valid byte set.
    bool IsPresent(int number) const;
    // Element width of the parameter's type (1, 2, 4; 0 without one).
    int GetElementSize(int number) const;
    // The value objects beside the table: the text of a STRING entry, the
    // array of an array entry; null when there is none.
    dstring* GetTextObject(int number);
    darray* GetArrayObject(int number);
    const darray* GetArrayObject(int number) const;
    void SetTextObject(int number, std::unique_ptr<dstring> text);
    void SetArrayObject(int number, std::unique_ptr<darray> array);
    // Elements of an array entry, 1 for any other.
    int GetValueCount(int number) const;

    DataBus* GetBus() const { return bus_; }
    // Set when the base was made for a bus and a device address (the device
    // is online through it); clear for an empty, file or copy base.
    bool IsOnline() const { return online_ != 0; }
    int GetAddress() const { return address_; }
    const char* GetPath(int which) const;
    // Sets path `which` (cut to the path size).
    void SetPath(int which, const char* path);
    const char* GetScratchPath(int which) const;
    ValueTextTable& GetValueTextTable() { return *valueTexts_; }
    ParaDescriptionFile* GetDescriptionFile() { return descriptionFile_.get(); }
    void SetDescriptionFile(std::unique_ptr<ParaDescriptionFile> file);
    ScopeVariableList* GetScopeVariables() { return recorder_.variables.get(); }
    // The oscilloscope recorder's state; its tests and fuzz targets set it.
    ScopeRecording& Recording() { return recorder_; }

    // --- device access of one parameter ---

    // Reads parameter `number` (elements first .. first+count-1 of an array)
    // from the device into `dst`, checks it against the limits (reading the
    // description once more when it does not fit) and stores it.
    int ReadBusEntry(int number, ParameterEntry* dst, int first, int count);
    // Reads the description of `number` from the device into `dst`.
    int ReadBusDescriptionEntry(int number, ParameterEntry* dst);
    int ReadBusDescription(int number);
    // 0 when ok; else message 14 (naming CurrentParameter when it is a valid
    // entry) or 13 with the bus's error text.
    int CheckBusResult(bool ok);
    // Whether a value read from the device fits the entry's limits.
    bool CheckRange(int32_t raw, const ParameterEntry* e) const;
    // Whether a text read from the device is acceptable: at most 128
    // characters, none above 127.
    static bool CheckText(const char* s);
    int ReadBusParameter(int index, int first, int count);
    // Sends the stored value (of `source` when not null) of one parameter,
    // or of `count` array elements from `first`, to the device.
    int WriteBusParameter(int index, int first, int count, const ParaBase* source = nullptr);

    // --- access levels and marks ---

    bool IsReadAllowed(int number, int level) const;
    bool IsWriteAllowed(int number, int level) const;
    void RestrictSelectionToReadLevel(int level, bool markB);
    void RestrictSelectionToWriteLevel(int level, bool markB);
    bool KPGroupHasMarkedParameter(int group, bool markB) const;
    void SelectByKeypadGroup(int group, bool markB);
    void SelectBySCGroup(int group, bool markB);
    void SelectAll(bool markB);
    int SelectParameter(int index, bool markB);
    void DeselectParameter(int index, bool markB);
    void DeselectAll(bool markB);

    // --- texts of a parameter ---

    // "" when the description file has no text for the parameter.
    const char* GetParameterDescription(int number);
    // The entry's name and unit; for an entry that is not present the stored
    // text is emptied first.
    const char* GetParameterName(int index);
    const char* GetParameterUnit(int index);

    // --- conversions and identity ---

    int RawToDouble(int number, int32_t raw, double* out);
    int GetMaximumAsDouble(int number, double* out);
    int GetMinimumAsDouble(int number, double* out);
    int GetDefaultAsDouble(int number, double* out);
    // Fixed-width text of a raw value, in ValueTextBuffer.
    const char* FormatRawValueFixed(int number, int32_t raw);
    // 0 without a loaded table or a readable parameter 91, else the kind of
    // the device code.
    int GetDeviceKind();
    int GetKPGroupCount();
    const char* GetKPGroupName(int group);
    int GetSCGroupCount();
    const char* GetSCGroupName(int group);
    bool HasUsedInKPGroup(int group) const;
    bool HasValidInKPGroup(int group) const;
    bool HasUnusedInKPGroup(int group) const;
    bool HasValidInSCGroup(int group) const;
    bool HasUsedInSCGroup(int group) const;
    void SetAllValidUsed();
    void SetAllUnused();

    // --- get: from the table ---

    int GetValueU8(int index, uint8_t* out, int element = 0);
    int GetValueU16(int index, uint16_t* out, int element = 0);
    int GetValueU32(int index, uint32_t* out, int element = 0);
    int GetValueS8(int index, int8_t* out, int element = 0);
    int GetValueS16(int index, int16_t* out, int element = 0);
    int GetValueS32(int index, int32_t* out, int element = 0);
    int GetValueFloat(int index, float* out, int element = 0);
    int GetValueDouble(int index, double* out, int element = 0);
    int GetRawValue(int index, int32_t* out, int element = 0);
    int GetValueString(int index, dstring& out, int element = 0);

    // --- read: from the device, then from the table ---

    int ReadValueU8(int index, uint8_t* out, int element = 0);
    int ReadValueU16(int index, uint16_t* out, int element = 0);
    int ReadValueU32(int index, uint32_t* out, int element = 0);
    int ReadValueS8(int index, int8_t* out, int element = 0);
    int ReadValueS16(int index, int16_t* out, int element = 0);
    int ReadValueFloat(int index, float* out, int element = 0);
    int ReadValueDouble(int index, double* out, int element = 0);
    int ReadRawValue(int index, int32_t* out, int element = 0);
    // Element 0 reads the whole value; another element reads that alone.
    int ReadValueString(int index, dstring& out, int element = 0);

    // --- set: into the table ---

    int SetValueU8(int index, uint8_t v, int element = 0);
    int SetValueU16(int index, uint16_t v, int element = 0);
    int SetValueU32(int index, uint32_t v, int element = 0);
    int SetValueS16(int index, int16_t v, int element = 0);
    int SetValueS32(int index, int32_t v, int element = 0);
    int SetValueFloat(int index, float v, int element = 0);
    int SetValueDouble(int index, double v, int element = 0);
    int SetRawValue(int index, int32_t raw, int element = 0);
    int SetValueString(int index, const dstring& text, int element = 0);
    // Every element := the default value.
    int SetDefaultValue(int index);

    // --- write: into the table, then to the device ---

    int WriteValueU8(int index, uint8_t v, int element = 0);
    int WriteValueU16(int index, uint16_t v, int element = 0);
    int WriteValueS16(int index, int16_t v, int element = 0);
    int WriteValueU32(int index, uint32_t v, int element = 0);
    int WriteValueFloat(int index, float v, int element = 0);
    int WriteValueDouble(int index, double v, int element = 0);
    int WriteRawValue(int index, int32_t raw, int element = 0);
    int WriteValueString(int index, const dstring& text, int element = 0);

    // --- display texts (in DisplayText, or the shared empty text) ---

    const char* FormatRawValue(int index, int32_t raw, bool withNumber);
    const char* FormatStoredValue(int index, int element, bool withNumber);
    const char* FormatU16Value(int index, uint16_t raw, bool withNumber);
    const char* FormatUnsignedValue(int index, uint32_t raw, bool withNumber);
    const char* FormatSignedValue(int index, int32_t raw, bool withNumber);
    const char* FormatDoubleValue(int index, double v, bool withNumber);
    // The plain number of a raw value, without value texts or hexadecimal.
    dstring& RawValueToString(dstring& out, int index, int32_t raw);
    // Display texts translated by the description file for the device class.
    const char* GetDispatchedValueText(int index, int element = 0);
    const char* GetDispatchedValueTextEx(int index, char option, int element = 0);
    const char* GetDispatchedDoubleText(int index, double v);
    const char* GetDispatchedDoubleTextEx(int index, char option, double v);
    // The explanation of one bit of a parameter.
    const char* GetBitText(int index, int bit, int extra);

    // --- single values as the device windows show them ---

    // The raw value that `v` has in parameter `number`: 0, 6 for an absent
    // entry, 10 for a type without a number form (and for a negative FIXPT16
    // value too small to be stored); the message stays in MessageBuffer.
    int DoubleToRaw(int number, double v, int32_t* raw);
    // The display text of `v` in parameter `number` (value texts cut at their
    // first blank, with the number); empty when DoubleToRaw fails.
    std::string FormatValue(int number, double v);
    // The entry's limits and default as numbers; 0.0 when the conversion fails.
    double GetMinimum(int number);
    double GetMaximum(int number);
    double GetDefault(int number);
    // The low byte of the stored run mode (parameter 151); 0 when it cannot be
    // read. It is the option of the dispatched value texts of device windows.
    uint8_t GetRunModeChar();

    // --- the oscilloscope: recorder buffer, export and variable list ---
    // (defined with the oscilloscope engine in scope/recorder)

    // Reads the recorder's sample buffer from the device into the recording
    // (room for the length of parameter 62 and 50 bytes more).
    int ReadScopeBuffer();
    // Writes the last buffer read as the header, value and raw files; 0
    // without touching any file when no channel is active.
    int ExportScopeData();
    // Finds the variable list file of the device's firmware (building it
    // from the device when it has none) and loads it as the scope variables.
    int LoadScopeVariableList();
    // Points the export's header and value files at other paths (cut to the
    // path size); the raw file stays.
    void SetScopeExportPaths(const char* header, const char* value);

    // --- file sets, whole-table transfer and firmware identity ---
    // (defined in para_file_set.cpp, para_transfer.cpp, para_listed.cpp and
    // para_identity.cpp)

    // Forms the D, T and X paths from `path`: the third character of the
    // extension becomes 'D', 'T', 'X'; a missing extension, or one whose
    // first two characters are not both there and not blank, gives "00?".
    void InitFile(const char* path);
    // Whether the D, T or X file can be opened for reading.
    bool FileBaseExists() const;
    // Whether the file opens and holds exactly the 64000 bytes of a table.
    static bool HasFileTableSize(const char* path);
    // Reads the file set into the table, with value objects, value texts and
    // the description file of the firmware. A failure leaves the base not
    // loaded.
    int ReadFileBase();
    // Writes the D, X and T files; each replaces its old file only when
    // complete.
    int WriteFileBase();
    // Makes this base a copy of `src` (bus, address, value texts, description
    // file, table and its own clones of the value objects); the paths of this
    // base's file set stay.
    int CopyBase(const ParaBase& src);
    // Writes the file set, then marks only the listed parameters as in the
    // data set in its D file.
    int MarkListedUsedInFile();

    // Builds the whole table from the device: descriptions, values, value
    // texts and the description file.
    int ReadBusBase();
    // Reads the values of the data set (only entries with mark B when
    // `selectedOnly`).
    int ReadBusData(bool selectedOnly);
    // Writes the data set of `source` into the device under the download
    // handshake of parameter 80. A refused set returns 0 with an empty
    // MessageBuffer; NothingWritten then tells that nothing was sent.
    int WriteBusData(const ParaBase& source);
    // 0 when the data sets of this (device) base and `other` match, -1 when
    // the user or the device class refuses the transfer, else the first
    // parameter that does not match.
    int CheckDataSetMatch(const ParaBase& other);
    // Copies the data-set values of `source` into this table (no bus).
    int CopyDataSetValues(const ParaBase& source);

    // The parameters that the family setup windows move on their own: empty
    // for device classes without such a list.
    std::vector<int> GetListedParameters() const;
    // Copies the listed parameters from the file set of `path`.
    int CopyListedFromFile(const char* path, bool markBOnly);
    // Writes the listed parameters to the device.
    int WriteListedToDevice(bool markBOnly);

    // Whether the checksums stored in this table (116 "CSADD", 115 "CSXOR")
    // are those the device reports now; true for tables without them.
    bool IsFileBaseCompatible();
    // The per-firmware file "d_vvv_ff.ext" in `dir` for the device code and
    // version: the exact version, else the nearest of the same main version,
    // else (allowOtherVersion) another main version. `outPath` holds
    // kParaPathSize bytes.
    static bool FindVersionFile(const char* dir, const char* ext, char* outPath, uint16_t deviceCode, float version,
                                bool allowOtherVersion);
    // Waits n seconds (n taken as a byte) without processing events.
    static void WaitSeconds(int n);

    // 1 after a WriteBusData that sent nothing to the device (a refused data
    // set, or a stop before the first write); 0 once it started writing.
    uint8_t NothingWritten = 0;

    // --- end of file sets and transfer ---

    // Text of the last failure.
    char MessageBuffer[kMessageBufferSize] = {};
    // 1 once a whole table was read from the device or a file.
    uint8_t TableLoaded = 0;
    // The parameter being transferred, named by message 14.
    uint16_t CurrentParameter = 0;
    // Set from outside to stop a running transfer at its next progress step.
    uint8_t CancelRequested = 0;
    // Entries that whole-table operations walk.
    int32_t EntryCount = 0;
    // Result of FormatRawValueFixed.
    char ValueTextBuffer[kValueTextBufferSize] = {};
    // Result of the display-text operations.
    char DisplayText[kDisplayTextSize] = {};

protected:
    // Sets every field to its empty state (clears DevicesUncoupled).
    void Init();
    void SetOnline(bool on) { online_ = on ? 1 : 0; }
    // Formats message `code` with `args` into MessageBuffer; returns code.
    int SetMessage(int code, const std::vector<platform::FormatArg>& args = {});

private:
    struct ValueObject {
        std::unique_ptr<dstring> text;
        std::unique_ptr<darray> array;
    };

    // 6 (with its message) unless the entry is present.
    int RequirePresent(int index);
    // 6 or 10 unless the entry is present and of one of `types`.
    int RequireType(int index, const char* types, const char* requested);
    // Message 10 for the entry's type and the requested-type text.
    int TypeMismatch(int index, const char* requested);
    // 18 unless IsWriteAllowed(index, 6).
    int RequireWriteLevel(int index);
    // The stored raw value or array element: 0, 12 for an array entry whose
    // type has no array class, 20 for an element outside the array. Leaves
    // no message.
    int StoredRaw(int index, int element, int32_t* raw) const;
    // StoredRaw with message 12 for the entry without array class.
    int FetchRaw(int index, int element, int32_t* raw);
    // The stored value of one of `types`, widened at the type's width.
    int GetWidened(int index, const char* types, const char* requested, int32_t* out, int element);
    // Stores a raw value or array element: 0, 12 or 20 as FetchRaw.
    int StoreRaw(int index, int element, int32_t raw);
    // Message 11 with the value text given.
    int OutOfRange(int index, const char* valueText);
    int OutOfRangeNumber(int index, double v);
    int SetFromDouble(int index, double v, int32_t* raw);
    int ParseValueText(int index, const dstring& text, int32_t* raw);
    // The text object of a STRING entry, made when it has none.
    dstring& TextOf(int number);
    const char* Display(const std::string& text);
    const char* Dispatched(int index, const char* text, char option);
    int DeviceClass();
    // A writer: the setter, once more after re-reading the description when
    // it fails, then the device write of the element.
    template <typename Setter>
    int WriteThrough(int index, int element, Setter set);

    std::vector<ParameterEntry> entries_;
    std::vector<ValueObject> values_;
    DataBus* bus_ = nullptr;
    uint8_t address_ = 0;
    uint8_t online_ = 0;
    char paths_[kFilePathCount][kParaPathSize] = {};
    std::unique_ptr<ValueTextTable> valueTexts_;
    std::unique_ptr<ParaDescriptionFile> descriptionFile_;
    // The oscilloscope's state; its functions live in scope/recorder/.
    ScopeRecording recorder_;

    // --- file sets and transfer ---
    // Chooses and opens the description file for the table's firmware
    // (parameters 91, 92 and 90) into path [3]; 0 or 19.
    int OpenDescriptionFileForTable();
    // Forgets every value object and the loaded state.
    void UnloadTable();
    // The stored device code (parameter 91); false (and 0) when it cannot
    // be read.
    bool StoredDeviceCode(uint16_t* code) const;
    // Whether `number` takes part in a data-set transfer from `source`.
    bool InDataSet(int number, const ParaBase& source) const;
    // The entry's name, "" for a number outside the table.
    std::string EntryName(int number) const;

    std::unique_ptr<StringsProfile> stringsProfile_;
};

// The fixed-point numbers of the oscilloscope: `n` fraction bits (taken as a
// byte).
double FixedPoint16ToDouble(int16_t v, int n);
double FixedPoint32ToDouble(int32_t v, int n);
// 0 when x * 2^n lies outside the signed range of the width.
int16_t FloatToFixedPoint16(float x, int n);
int32_t FloatToFixedPoint32(float x, int n);
// Removes trailing zeros after a decimal point, and the point when nothing
// follows it; returns `text`.
char* TrimTrailingZeros(char* text);
