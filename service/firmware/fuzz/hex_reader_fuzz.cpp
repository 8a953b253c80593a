// Feeds arbitrary text to the Intel-HEX readers: the image reader of every
// device type and the loader's raw image reader.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "service/firmware/hex_image.h"
#include "service/firmware/loader_transfer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // One type of each memory layout kind: segment records, and linear ones
    // with large segments.
    for (int index : {0, 1, 4}) {
        const LoaderDeviceType& type = *FindLoaderDeviceType(index);
        LoaderImage image = MakeLoaderImage(type);
        HexTextReader reader(text);
        uint32_t number = 0;
        if (ReadHexIntoImage(reader, image, type, number) == kHexOk) {
            StoreImageChecksums(image, type, ComputeImageChecksums(image, type));
        }
    }
    std::vector<uint8_t> loader(FindLoaderDeviceType(4)->loaderImageSize, 0x00);
    uint32_t position = 0;
    LoadHexImage(text, loader, position);
    return 0;
}
