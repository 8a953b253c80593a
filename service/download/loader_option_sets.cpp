#include "service/download/loader_option_sets.h"

#include "platform/base/format.h"
#include "platform/files/text_file.h"

namespace {

// Tool device types (rows of its device table).
constexpr int kTypeOskel = 0;
constexpr int kTypeMarlo = 1;
constexpr int kTypeRuvexC167 = 2;
constexpr int kTypeRuvexSt10 = 3;
constexpr int kTypePesco16F = 4;
constexpr int kTypeWenzo = 5;
constexpr int kTypeTalin = 6;
constexpr int kTypePesco32F = 7;

// The Ruvex chooser's variants with a loader of their own.
constexpr int kRuvexVariantCb = 1;
constexpr int kRuvexVariantCa = 2;

constexpr char kColdBootstrapRate[] = "-bb19200";
constexpr char kOskelBootstrapRate[] = "-bb9600";
constexpr char kWarmBootstrapRate[] = "-bb0";

struct Files {
    const char* loader;
    const char* secondLoader;  // null without one
    const char* booter;
};

}  // namespace

std::optional<std::vector<std::string>> LoaderOptionSet(const LoaderOptionRequest& r) {
    int type = 0;
    Files files{};
    bool lineRate = true;
    const char* bootstrap = r.warm ? kWarmBootstrapRate : kColdBootstrapRate;
    switch (r.deviceClass) {
        case kClassOskel:
            type = kTypeOskel;
            files = {"Oskel_ld.hx", nullptr, "Oskel_bt.hx"};
            lineRate = false;
            if (!r.warm) bootstrap = kOskelBootstrapRate;
            break;
        case kClassMarlo:
            type = kTypeMarlo;
            files = {"Marlo_ld.hx", nullptr, "Marlo_bt.hx"};
            lineRate = !r.warm || r.firmwareVersion > kMarloLastFixedRateVersion;
            break;
        case kClassRuvex:
            if (!r.warm && r.variant == kRuvexVariantCb) {
                type = kTypeRuvexC167;
                files = {"4000_ld.hx", "4000_ld2_cb.hx", "4000_bt.hx"};
            } else if (!r.warm && r.variant == kRuvexVariantCa) {
                type = kTypeRuvexC167;
                files = {"4000_ld.hx", "4000_ld2_ca.hx", "4000_bt.hx"};
            } else {
                type = kTypeRuvexSt10;
                files = {"4000_ld.hx", "4000_ld2.hx", "4000_bt.hx"};
            }
            break;
        case kClassPesco:
            if (r.variant == kPescoVariant32F) {
                type = kTypePesco32F;
                files = {"5000_ld_32F.hx", "5000_ld2_32F.hx", "5000_bt.hx"};
            } else if (r.variant == kPescoVariant16F) {
                type = kTypePesco16F;
                files = {"5000_ld_16F.hx", "5000_ld2_16F.hx", "5000_bt.hx"};
            } else {
                return std::nullopt;
            }
            break;
        case kClassTalin:
            type = kTypeTalin;
            files = {"1000_ld.hx", "1000_ld2.hx", "1000_bt.hx"};
            break;
        case kClassWenzo:
            type = kTypeWenzo;
            files = {"2000_ld.hx", "2000_ld2.hx", "2000_bt.hx"};
            break;
        default:
            return std::nullopt;
    }
    std::vector<std::string> lines;
    lines.push_back(platform::Format("-d%d", type));
    lines.push_back(bootstrap);
    if (lineRate) lines.push_back(platform::Format("-bl%ul", r.loaderRate));
    lines.push_back(std::string("-l") + files.loader);
    if (files.secondLoader != nullptr) lines.push_back(std::string("-2l") + files.secondLoader);
    lines.push_back(std::string("-b") + files.booter);
    lines.push_back(platform::Format("-p%d", static_cast<int>(r.port)));
    lines.push_back("-f" + r.firmwareFile);
    lines.push_back("-lgfirm.txt");
    return lines;
}

bool WriteLoaderOptionFile(const std::string& path, const std::vector<std::string>& lines) {
    // Through a temporary file, so a failed write leaves the last one whole.
    return platform::ReplaceFile(path, platform::JoinLines(lines, platform::LineEnd::kLf));
}
