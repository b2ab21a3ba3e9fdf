// A plain image: text lines ended by LF or CR LF.
#pragma once

#include "firmware/firmware_image.h"

namespace zel::firmware {

class PlainImage : public FirmwareImage {
public:
    bool openStream(std::FILE* stream) override;
    bool ResetFile() override;
    bool GetLine(std::string& line) override;
    bool FileEOF() const override;
    ImageKind kind() const override { return ImageKind::Plain; }
};

}  // namespace zel::firmware
