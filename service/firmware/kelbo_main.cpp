#include "service/firmware/kelbo_main.h"

#include <optional>
#include <string>
#include <vector>

#include "bus/serial/striowin.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "service/firmware/hex_file_check.h"
#include "service/firmware/hex_image.h"
#include "service/firmware/loader_console.h"
#include "service/firmware/loader_options.h"
#include "service/firmware/loader_transfer.h"
#include "service/firmware/transfer_codes.h"

namespace {

namespace msg = loader_message;

class KelboRun {
public:
    const char* Run(int argc, char** argv);

private:
    // Reports message `number` and returns the failure text.
    const char* Fail(int number, const std::vector<platform::FormatArg>& args = {}) {
        console_.Report(console_.GetMessage(number, args));
        return console_.Buffer();
    }
    // A failed transfer step: message 4 with the step's text; the port closed.
    const char* FailStep(TransferFamily family) {
        CloseSerio(true);
        return Fail(msg::kStepFailed, {TransferText(family)});
    }
    const char* Usage(const char* unknown);
    const char* ReadOptionFile();
    // Messages 8 and 9 for `file`, then `detail` framed as the failure.
    const char* FailHexFile(const std::string& file, const std::string& detail);
    const char* CheckHexFiles();
    const char* ReadIntoImage(const std::string& file);
    const char* ColdStart();
    const char* WarmStart();

    LoaderConsole& console_ = TheLoaderConsole();
    LoaderOptions options_;
    const LoaderDeviceType* type_ = nullptr;
    std::string label_;
    LoaderImage image_;
};

const char* KelboRun::Usage(const char* unknown) {
    console_.Report(console_.GetMessage(msg::kUsage));
    console_.Report(console_.GetMessage(msg::kUsageOptions));
    return unknown != nullptr ? Fail(msg::kUnknownOption, {unknown}) : Fail(msg::kUsageEnd);
}

const char* KelboRun::ReadOptionFile() {
    const std::optional<std::string> text = platform::ReadTextFile(options_.optionFile);
    if (!text) return Fail(msg::kOptionFileNotOpened, {options_.optionFile});
    for (const std::string& line : OptionFileLines(*text)) {
        switch (ParseLoaderOption(line, options_, OptionSource::kOptionFile)) {
            case OptionResult::kTaken:
                break;
            case OptionResult::kLogFile:
                console_.OpenLogFile(options_.logFile);
                break;
            case OptionResult::kUsage:
            case OptionResult::kUnknown:
                return Fail(msg::kUnknownOption, {line});
        }
    }
    return nullptr;
}

const char* KelboRun::FailHexFile(const std::string& file, const std::string& detail) {
    console_.Report(console_.GetMessage(msg::kHexFileError, {file}));
    console_.Report(console_.GetMessage(msg::kHexFileErrorNote));
    console_.Report(console_.SetMessage(platform::Format("\n%s!\n", detail)));
    return console_.Buffer();
}

// Every Intel-HEX file of the run is checked before the drive is touched; a
// file that cannot be opened is left to the step that reads it.
const char* KelboRun::CheckHexFiles() {
    const bool coldStart = options_.bootstrapBaud != 0;
    std::vector<std::string> files = {options_.firmwareFile};
    if (coldStart) files.push_back(options_.loaderFile);
    if (type_->secondLoaderInImage || (coldStart && type_->secondLoader)) files.push_back(options_.secondLoaderFile);
    for (const std::string& file : files) {
        const std::optional<std::string> bytes = platform::ReadBinaryFile(file);
        if (!bytes) continue;
        const HexFileCheck check = CheckHexText(*bytes);
        if (!check.Passed()) return FailHexFile(file, HexFileFaultText(file, check));
    }
    return nullptr;
}

const char* KelboRun::ReadIntoImage(const std::string& file) {
    const std::optional<std::string> text = platform::ReadTextFile(file);
    if (!text) return Fail(msg::kFileNotOpened, {file});
    HexTextReader reader(*text);
    uint32_t number = 0;
    const int error = ReadHexIntoImage(reader, image_, *type_, number);
    if (error == kHexOk) return nullptr;
    const std::string detail = error == kHexOutsideImage || error == kHexUnknownType
                                   ? console_.FormatMessage(msg::kHexErrorBase + error, {number})
                                   : console_.FormatMessage(msg::kHexErrorBase + error);
    return FailHexFile(file, detail);
}

const char* KelboRun::ColdStart() {
    console_.Status(console_.GetMessage(msg::kColdStart, {label_}));
    int result = SendBooter(options_.booterFile,
                            options_.port,
                            options_.bootstrapBaud,
                            type_->chipCode,
                            type_->identificationFlag != 1,
                            options_.compareIdentification);
    if (!IsTransferSuccess(result)) return FailStep(TransferFamily::kBooter);
    result = SendLoaderImage(options_.loaderFile, options_.port, options_.bootstrapBaud, *type_);
    if (!IsTransferSuccess(result)) return FailStep(TransferFamily::kLoaderImage);
    if (type_->secondLoader) {
        result =
            SendHexByLines(options_.secondLoaderFile, options_.port, options_.lineBaud, false, true, type_->wakeUp);
        if (!IsTransferSuccess(result)) return FailStep(TransferFamily::kLine);
    }
    result = SendHexByLines(kImageFileName, options_.port, options_.lineBaud, false, false, type_->wakeUp);
    if (!IsTransferSuccess(result)) return FailStep(TransferFamily::kLine);
    return nullptr;
}

const char* KelboRun::WarmStart() {
    console_.StatusAndLog(console_.GetMessage(msg::kWarmStart));
    if (!SwitchToLoaderMode(options_.port)) {
        CloseSerio(true);
        return Fail(msg::kSwitchFailed);
    }
    const int result = SendHexByLines(kImageFileName, options_.port, options_.lineBaud, true, false, type_->wakeUp);
    if (!IsTransferSuccess(result)) return FailStep(TransferFamily::kLine);
    return nullptr;
}

const char* KelboRun::Run(int argc, char** argv) {
    // Nothing of an earlier run stays in force, the own log file included.
    console_.CloseLogFile();
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        switch (ParseLoaderOption(argv[i], options_, OptionSource::kCommandLine)) {
            case OptionResult::kTaken:
                break;
            case OptionResult::kLogFile:
                console_.OpenLogFile(options_.logFile);
                break;
            case OptionResult::kUsage:
                return Usage(nullptr);
            case OptionResult::kUnknown:
                return Usage(argv[i]);
        }
    }
    if (!options_.optionFile.empty()) {
        if (const char* failure = ReadOptionFile()) return failure;
    }

    type_ = FindLoaderDeviceType(options_.deviceType);
    label_ = LoaderDeviceLabel(*type_);
    console_.Report(console_.GetMessage(msg::kDownloadStart, {options_.firmwareFile}));
    console_.Report(console_.GetMessage(msg::kDeviceType, {label_}));

    if (const char* failure = CheckHexFiles()) return failure;
    image_ = MakeLoaderImage(*type_);
    if (const char* failure = ReadIntoImage(options_.firmwareFile)) return failure;
    if (type_->secondLoaderInImage) {
        if (const char* failure = ReadIntoImage(options_.secondLoaderFile)) return failure;
    }
    if (type_->checksumAddress != 0 && !options_.noChecksums) {
        console_.Status(console_.GetMessage(msg::kComputingChecksums));
        const ImageChecksums sums = ComputeImageChecksums(image_, *type_);
        StoreImageChecksums(image_, *type_, sums);
        console_.Report(console_.GetMessage(msg::kChecksums, {sums.sum, sums.xorWord}));
    }
    console_.Status(console_.GetMessage(msg::kWritingImage));
    if (!WriteImageHexFile(image_, type_->recordLength, kImageFileName, type_->addressKind)) {
        return Fail(msg::kStepFailed, {console_.FormatMessage(msg::kFileNotOpened, {kImageFileName})});
    }
    image_.clear();

    const char* failure = options_.bootstrapBaud != 0 ? ColdStart() : WarmStart();
    if (failure != nullptr) return failure;
    CloseSerio(true);
    return nullptr;
}

}  // namespace

const char* KelboMain(int argc, char** argv) {
    KelboRun run;
    return run.Run(argc, argv);
}
