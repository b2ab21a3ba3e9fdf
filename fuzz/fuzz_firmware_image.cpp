// The compressed image reader: any bytes either open and read line by line to their end or
// stop with a message; whatever text decodes packs again into an image that decodes the same.
#include <stdio.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "firmware/compressed_image.h"
#include "firmware/huffman_stream.h"
#include "firmware/image_check.h"

using namespace zel::firmware;

namespace {

FILE* memoryStream(const void* data, size_t size) {
    return ::fmemopen(const_cast<void*>(data), size, "rb");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    CompressedImage image;
    if (!image.openStream(memoryStream(data, size))) {
        if (image.error().empty()) __builtin_trap();
        return 0;
    }
    std::string line;
    while (!image.FileEOF())
        if (!image.GetLine(line)) {
            if (image.error().empty()) __builtin_trap();
            break;
        }
    const ImageCheck check = checkImage(image);
    if (!check.sound && check.message().empty()) __builtin_trap();

    FILE* again = memoryStream(data, size);
    std::string text, error;
    const bool decoded = decompressImage(again, text, error);
    fclose(again);
    if (!decoded) return 0;
    const std::string packed = compressImage(text);
    FILE* repacked = memoryStream(packed.data(), packed.size());
    std::string back;
    if (!decompressImage(repacked, back, error) || back != text) __builtin_trap();
    fclose(repacked);
    return 0;
}
