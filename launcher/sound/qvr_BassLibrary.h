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
    std::optional<QString> RecordGetInputName(int Input) override;
    uint32_t RecordGetInput(int Input) override;
    bool RecordSetInput(int Input, uint32_t Setting) override;
    uint32_t RecordStart(uint32_t Freq, uint32_t Chans, uint32_t Flags, TRecordProc Proc,
                         void* User) override;
    bool ChannelStop(uint32_t Channel) override;
};
