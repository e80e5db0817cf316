#include "launcher/sound/qvr_BassLibrary.h"

#include "bass/bass.h"
#include "common/TextCodec.h"

#include <type_traits>

// The callback is handed on as it is: both sides spell the same type.
static_assert(std::is_same_v<IBass::TRecordProc, RECORDPROC>);
static_assert(CBassVersion == BASS_VERSION);

uint32_t TBassLibrary::GetVersion() {
    return BASS_GetVersion();
}
bool TBassLibrary::RecordInit(int Device) {
    return BASS_RecordInit(Device) != 0;
}
bool TBassLibrary::Init(int Device, uint32_t Freq, uint32_t Flags, void* Window) {
    return BASS_Init(Device, Freq, Flags, Window, nullptr) != 0;
}
bool TBassLibrary::RecordFree() {
    return BASS_RecordFree() != 0;
}
bool TBassLibrary::Free() {
    return BASS_Free() != 0;
}
bool TBassLibrary::Stop() {
    return BASS_Stop() != 0;
}
std::optional<QString> TBassLibrary::RecordGetInputName(int Input) {
    const char* Name = BASS_RecordGetInputName(Input);
    if (Name == nullptr)
        return std::nullopt;
    return DecodeAnsi(QByteArray(Name));
}
uint32_t TBassLibrary::RecordGetInput(int Input) {
    return BASS_RecordGetInput(Input);
}
bool TBassLibrary::RecordSetInput(int Input, uint32_t Setting) {
    return BASS_RecordSetInput(Input, Setting) != 0;
}
uint32_t TBassLibrary::RecordStart(uint32_t Freq, uint32_t Chans, uint32_t Flags, TRecordProc Proc,
                                   void* User) {
    return BASS_RecordStart(Freq, Chans, Flags, Proc, User);
}
bool TBassLibrary::ChannelStop(uint32_t Channel) {
    return BASS_ChannelStop(Channel) != 0;
}
