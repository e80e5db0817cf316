#include "launcher/sound/qvr_BassLibrary.h"

#include "bass/bass.h"

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
