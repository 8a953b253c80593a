// A node of a parameter tree: the root of a file or bus tree, a device, a
// keypad-group folder, an array parameter or one parameter (or array
// element). It knows its parameter base (a device's cached base by bus
// address, or a file base) and reads, writes and formats its value.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/tree/gw_tree_entry.h"

class ParaBase;

// Node kinds; each names its popup ("TP_None" .. "TP_Para").
enum ParaTreeKind : int {
    kParaTreeNone = 0,
    kParaTreeFile = 1,
    kParaTreeBus = 2,
    kParaTreeActiveDevice = 3,
    kParaTreeDevice = 4,
    kParaTreeMenu = 5,
    kParaTreeField = 6,
    kParaTreePara = 7,
};

// Edit kinds of GetEditKind.
enum ParaTreeEditKind : int {
    kEditNone = 0,
    kEditInteger = 1,
    kEditDecimal = 2,
    kEditText = 3,
    kEditChoice = 4,
};

// The font every node uses.
inline constexpr char kParaTreeFont[] = "propfont";
// Device index of a node that belongs to a parameter base file.
inline constexpr int kFileDeviceIndex = -1;

class ParaTreeEntry : public GwTreeEntry {
public:
    // A copy of another node: its text, id, fields and font (no children).
    ParaTreeEntry(const ParaTreeEntry& other);
    // The root of a file tree ("File").
    explicit ParaTreeEntry(const char* rootText);
    // The root of a bus tree ("Bus").
    ParaTreeEntry(const char* rootText, bool allDevices);
    // A device ("Device_<index>"): the active device's node carries its run
    // mode in brackets after the text.
    ParaTreeEntry(int deviceIndex, const char* text, ParaBase* fileBase);
    // A keypad-group folder ("Menu_<group>").
    ParaTreeEntry(const char* text, int deviceIndex, int group, ParaBase* fileBase);
    // An array parameter ("<number>-<name>").
    ParaTreeEntry(int deviceIndex, int number, ParaBase* fileBase);
    // A parameter ("<number>-<name>") or an array element
    // ("<number>-<name>-<element>").
    ParaTreeEntry(int deviceIndex, int number, int element, ParaBase* fileBase);
    ~ParaTreeEntry() override;
    ParaTreeEntry& operator=(const ParaTreeEntry&) = delete;

    // The icon by kind (see the definition).
    GwBitmap* Bitmap() override;

    int GetDeviceIndex() const { return deviceIndex_; }
    int GetParameterNumber() const { return number_; }
    // Array element of a parameter node; group of a folder.
    int GetElement() const { return element_; }
    int GetKind() const { return kind_; }
    bool IsAllDevices() const { return allDevices_ != 0; }
    bool IsEditable() const { return editable_ != 0; }
    ParaBase* GetFileBase() const { return fileBase_; }
    // Main's cached base of the device index, else the file base.
    ParaBase* GetBase() const;

    // 0 nothing to edit, 1 integer, 2 decimal, 3 text, 4 choice of value
    // texts.
    int GetEditKind() const;
    std::string GetDescriptionText();
    std::string GetDispatchedText();
    std::string GetUnitText();
    // Limits and value as numbers; a failure shows error message 5 for the
    // base and gives 0.0. A device node reads its value from the device.
    double GetMinimum();
    double GetMaximum();
    double GetDefault();
    double GetValue();
    // Into the table (file node) or the device; failures show error message
    // 5. Always 1.
    int SetValue(double v);
    // 1 done, 0 refused (error message 5 shown). Null is the empty text.
    int SetValueText(const char* text);
    void UpdateEditable();
    // Marks the entry of the node's parameter as part of the partial base
    // (only when it is present) or clears the mark.
    void SetUsed(bool used);
    // Display texts of the node's parameter; empty without a base.
    std::string GetValueText();
    std::string GetMinimumText();
    std::string GetMaximumText();
    std::string GetDefaultText();
    std::string FormatValue(double v);

private:
    void SetPopupAndFont();
    double Checked(int code, double value);

    int32_t deviceIndex_ = 0;
    uint16_t number_ = 0;
    int32_t element_ = 0;
    int32_t kind_ = kParaTreeNone;
    int32_t allDevices_ = 0;
    int32_t reserved_ = 0;
    int32_t editable_ = 0;
    ParaBase* fileBase_ = nullptr;
};

// Which edit kind a parameter of this type code and entry flags has.
int ParaTreeEditKindOf(char type, uint16_t flags);
