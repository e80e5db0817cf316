// The audio library's calls, made on the real libbass.so.
#pragma once

#include "launcher/shell/qvr_Services.h"

class TBassLibrary : public IBass {
public:
    uint32_t GetVersion() override;
    bool RecordInit(int Device) override;
    bool Init(int Device, uint32_t Freq, uint32_t Flags, void* Window) override;
    bool RecordFree() override;
    bool Free() override;
    bool Stop() override;
};
