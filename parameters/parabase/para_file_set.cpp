// The parameter base file set: the D file of 1000 entry records, the X file
// of string and array values, the T file of value texts; the bases made from
// a file set or as a copy of another base.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "app/services/program_flags.h"
#include "parameters/parabase/entry_record.h"
#include "parameters/parabase/operation_log.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/strings_profile.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "scope/varlist/scope_variable_list.h"
#include "toolkit/base/gw_path.h"

namespace {

// The D file: one record per parameter number, nothing else.
constexpr size_t kTableFileSize = static_cast<size_t>(kParameterCount) * kEntryRecordSize;
// Extension of a path that has none usable, and the letters that tell the
// files of a set apart (third extension character), by path index.
constexpr char kDefaultExtension[] = "00D";
constexpr size_t kSetLetterPosition = 2;
constexpr char kSetLetters[] = {'D', 'T', 'X'};

bool IsPresentEntry(const ParameterEntry& e) { return e.number != 0 && e.valid != 0; }

// The table as the D file holds it.
std::string TableBytes(const std::vector<ParameterEntry>& entries) {
    std::string bytes(kTableFileSize, '\0');
    for (size_t i = 0; i < entries.size() && i < static_cast<size_t>(kParameterCount); ++i)
        WriteEntryRecord(entries[i], reinterpret_cast<uint8_t*>(&bytes[i * kEntryRecordSize]));
    return bytes;
}

}  // namespace

ParaBase::ParaBase(dstring path) {
    Init();
    InitFile(path.Text());
    ReadFileBase();
}

ParaBase::ParaBase(const ParaBase& src) {
    Init();
    // TableLoaded is what CopyBase left: a copy that could not take the table
    // is not loaded.
    CopyBase(src);
    bus_ = src.bus_;
    address_ = src.address_;
    for (int i = 0; i < kFilePathCount; ++i) SetPath(i, src.paths_[i]);
    for (int i = 0; i < kScratchFileCount; ++i)
        std::copy_n(src.recorder_.scratchPaths[i], kParaPathSize, recorder_.scratchPaths[i]);
    CancelRequested = 0;
}

void ParaBase::InitFile(const char* path) {
    GwString drive, dir, name, ext;
    GwSplitpath(path != nullptr ? path : "", &drive, &dir, &name, &ext);
    std::string extension = ext.str();
    if (extension.size() < 2 || extension[0] == ' ' || extension[1] == ' ') extension = kDefaultExtension;
    if (extension.size() <= kSetLetterPosition) extension.resize(kSetLetterPosition + 1);
    const int which[] = {kDFilePath, kTFilePath, kXFilePath};
    for (int i = 0; i < 3; ++i) {
        extension[kSetLetterPosition] = kSetLetters[i];
        SetPath(which[i], GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), extension.c_str()).c_str());
    }
}

bool ParaBase::FileBaseExists() const {
    for (int which : {kDFilePath, kTFilePath, kXFilePath}) {
        if (!platform::FileExists(paths_[which])) continue;
        if (std::FILE* file = platform::OpenFile(paths_[which], "rb")) {
            std::fclose(file);
            return true;
        }
    }
    return false;
}

bool ParaBase::HasFileTableSize(const char* path) {
    const std::optional<std::string> native = platform::FindExisting(path != nullptr ? path : "");
    if (!native) return false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(*native, error)) return false;
    return std::filesystem::file_size(*native, error) == kTableFileSize && !error;
}

void ParaBase::UnloadTable() {
    TableLoaded = 0;
    for (ValueObject& object : values_) {
        object.text.reset();
        object.array.reset();
    }
}

int ParaBase::ReadFileBase() {
    const char* dPath = paths_[kDFilePath];
    LogParaBaseOperation("ReadFileBase", dPath);
    BusTransferGuard transfer;
    UnloadTable();

    if (!HasFileTableSize(dPath)) return SetMessage(kParaCannotOpenFile, {dPath});
    const std::optional<std::string> bytes = platform::ReadBinaryFile(dPath);
    if (!bytes) return SetMessage(kParaCannotOpenFile, {dPath});
    if (bytes->size() < kTableFileSize) return SetMessage(kParaCannotReadFile, {dPath});
    for (int i = 0; i < kParameterCount; ++i)
        entries_[i] = ReadEntryRecord(reinterpret_cast<const uint8_t*>(bytes->data()) +
                                      static_cast<std::size_t>(i) * kEntryRecordSize);

    const char* xPath = paths_[kXFilePath];
    stringsProfile_ = std::make_unique<StringsProfile>(xPath);
    if (!stringsProfile_->IsValid()) return SetMessage(kParaStringsFileInvalid, {xPath});
    for (int i = 0; i < kParameterCount; ++i) {
        ParameterEntry& e = entries_[i];
        if (!IsPresentEntry(e)) continue;
        if (e.flags & kFlagArray) {
            // An array whose type has no array class keeps no values.
            if (HasArrayClass(e.type)) {
                const int32_t count = stringsProfile_->ReadArraySize(i);
                // A size no array can hold is a damaged file, not a shorter array.
                if (!darray::IsValidSize(count, ElementSizeOfType(e.type)))
                    return SetMessage(kParaStringsFileInvalid, {xPath});
                std::unique_ptr<darray> array = CreateArrayForType(e.type, count);
                if (!stringsProfile_->ReadArray(i, *array)) return SetMessage(kParaStringsFileInvalid, {xPath});
                values_[i].array = std::move(array);
            }
        } else if (e.type == kTypeString) {
            auto text = std::make_unique<dstring>();
            stringsProfile_->ReadString(i, *text);
            values_[i].text = std::move(text);
        }
        e.markA = 1;
    }

    const char* tPath = paths_[kTFilePath];
    valueTexts_ = std::make_unique<ValueTextTable>();
    if (!valueTexts_->ReadFile(tPath)) return SetMessage(kParaCannotReadFile, {tPath});

    if (const int r = OpenDescriptionFileForTable()) return r;
    TableLoaded = 1;
    EntryCount = kParameterCount;
    return kParaOk;
}

int ParaBase::WriteFileBase() {
    const char* dPath = paths_[kDFilePath];
    const char* xPath = paths_[kXFilePath];
    const char* tPath = paths_[kTFilePath];
    LogParaBaseOperation("WriteFileBase", dPath);
    if (TableLoaded == 0) return SetMessage(kParaNoValidBase);

    // The X profile is filled before any file is written, so a value it
    // cannot hold leaves the old file set as it was.
    auto profile = std::make_unique<StringsProfile>(xPath);
    if (!profile->IsValid()) return SetMessage(kParaStringsFileInvalid, {xPath});
    // The X file holds this set's values and nothing left over from an
    // earlier one.
    profile->Clear();
    for (int i = 0; i < kParameterCount; ++i) {
        const ParameterEntry& e = entries_[i];
        if (!IsPresentEntry(e)) continue;
        bool written = true;
        if (e.flags & kFlagArray) {
            if (const darray* array = values_[i].array.get()) written = profile->WriteArray(i, *array);
        } else if (e.type == kTypeString) {
            const dstring* text = values_[i].text.get();
            written = profile->WriteString(i, text != nullptr ? text->Text() : "");
        }
        if (!written) return SetMessage(kParaStringsFileInvalid, {xPath});
    }

    if (!platform::ReplaceFile(dPath, TableBytes(entries_))) return SetMessage(kParaCannotOpenFile, {dPath});
    stringsProfile_ = std::move(profile);
    if (!stringsProfile_->Save()) return SetMessage(kParaCannotWriteFile, {xPath});
    if (!valueTexts_->WriteFile(tPath)) return SetMessage(kParaFileAccessError, {tPath});
    return kParaOk;
}

int ParaBase::CopyBase(const ParaBase& src) {
    LogParaBaseOperation("CopyBase");
    BusTransferGuard transfer;
    bus_ = src.bus_;
    address_ = src.address_;

    auto texts = std::make_unique<ValueTextTable>();
    if (!texts->ReadFile(src.paths_[kTFilePath])) return SetMessage(kParaCannotReadFile, {src.paths_[kTFilePath]});
    valueTexts_ = std::move(texts);
    if (paths_[kTFilePath][0] != '\0' && !valueTexts_->WriteFile(paths_[kTFilePath]))
        return SetMessage(kParaCannotReadFile, {paths_[kTFilePath]});

    SetPath(kDescriptionFilePath, src.paths_[kDescriptionFilePath]);
    descriptionFile_ = std::make_unique<ParaDescriptionFile>(paths_[kDescriptionFilePath]);
    if (!descriptionFile_->IsOpen()) return SetMessage(kParaNoDescriptionFile, {paths_[kDescriptionFilePath]});

    // Every value object is this base's own clone, made before the table is
    // taken over (src may be this base).
    std::vector<ValueObject> clones(kParameterCount);
    for (int i = 0; i < kParameterCount; ++i) {
        const ParameterEntry& e = src.entries_[i];
        if (!IsPresentEntry(e)) continue;
        if (const darray* array = src.values_[i].array.get()) {
            std::unique_ptr<darray> copy = CreateArrayForType(e.type, array->GetCount());
            if (copy != nullptr) copy->CopyElements(*array, 0, array->GetCount());
            clones[i].array = std::move(copy);
        }
        if (const dstring* text = src.values_[i].text.get()) clones[i].text = std::make_unique<dstring>(*text);
    }
    entries_ = src.entries_;
    values_ = std::move(clones);
    TableLoaded = src.TableLoaded;
    EntryCount = src.EntryCount;

    stringsProfile_ = std::make_unique<StringsProfile>(paths_[kXFilePath]);
    if (!stringsProfile_->IsValid()) return SetMessage(kParaStringsFileInvalid, {paths_[kXFilePath]});
    for (int i = 0; i < kParameterCount; ++i) {
        if (!IsPresentEntry(entries_[i])) continue;
        if (const darray* array = values_[i].array.get()) stringsProfile_->WriteArray(i, *array);
        if (entries_[i].type == kTypeString) stringsProfile_->WriteString(i, TextOf(i).Text());
    }
    return kParaOk;
}

int ParaBase::MarkListedUsedInFile() {
    if (const int r = WriteFileBase()) return r;
    const char* dPath = paths_[kDFilePath];
    std::optional<std::string> bytes = platform::ReadBinaryFile(dPath);
    if (!bytes) return SetMessage(kParaCannotOpenFile, {dPath});
    if (bytes->size() < kTableFileSize) return SetMessage(kParaCannotReadFile, {dPath});
    const std::vector<int> listed = GetListedParameters();
    for (size_t record = 0; record < static_cast<size_t>(kParameterCount); ++record) {
        char* r = &(*bytes)[record * kEntryRecordSize];
        const auto number = static_cast<int16_t>(static_cast<uint8_t>(r[entry_record::kNumber]) |
                                                 static_cast<uint8_t>(r[entry_record::kNumber + 1]) << 8);
        const bool isListed = std::find(listed.begin(), listed.end(), number) != listed.end();
        r[entry_record::kTransfer] = isListed ? 1 : 0;
    }
    if (!platform::ReplaceFile(dPath, *bytes)) return SetMessage(kParaCannotOpenFile, {dPath});
    return kParaOk;
}
