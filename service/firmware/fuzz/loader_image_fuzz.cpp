// Fuzz target of the loader image reader on its own: the first two bytes
// choose the image size (0 to 65535), the rest is the loader file's text.
// The reader gives a code and never writes outside the image, whatever the
// records' addresses.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "service/firmware/loader_transfer.h"
#include "service/firmware/transfer_codes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t imageSize = data[0] | (size_t{data[1]} << 8);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    std::vector<uint8_t> image(imageSize, 0xA5);
    uint32_t position = 0;
    const int result = LoadHexImage(text, image, position);
    if (image.size() != imageSize) std::abort();
    if (result == kTransferSuccess) return 0;
    if (result != image_code::kScanFileNotOpened && result != image_code::kBadFile &&
        result != image_code::kOutsideImage)
        std::abort();
    return 0;
}
