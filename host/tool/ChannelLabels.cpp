#include "ChannelLabels.h"

namespace norvikimport {

namespace {

struct LabelName {
    prsdk::PrAudioChannelLabel label;
    const char* name;
    std::uint32_t speakerBit;
};

// The host's labels; the first eighteen speakers are the wave format's mask bits.
constexpr LabelName kLabels[] = {
    {0, "Discrete", 0},
    {100, "FrontLeft", 0x1},
    {101, "FrontRight", 0x2},
    {102, "FrontCenter", 0x4},
    {103, "LowFrequency", 0x8},
    {104, "BackLeft", 0x10},
    {105, "BackRight", 0x20},
    {106, "BackCenter", 0x100},
    {107, "FrontLeftOfCenter", 0x40},
    {108, "FrontRightOfCenter", 0x80},
    {109, "SideLeft", 0x200},
    {110, "SideRight", 0x400},
    {111, "TopCenter", 0x800},
    {112, "TopFrontLeft", 0x1000},
    {113, "TopFrontRight", 0x4000},
    {114, "TopFrontCenter", 0x2000},
    {115, "TopBackLeft", 0x8000},
    {116, "TopBackRight", 0x20000},
    {117, "TopBackCenter", 0x10000},
    {118, "FrontLeftWide", 0},
    {119, "FrontRightWide", 0},
    {127, "LeftHeight", 0},
    {128, "RightHeight", 0},
    {129, "RearSurroundLeft", 0},
    {130, "RearSurroundRight", 0},
    {131, "LFE2", 0},
    {132, "LeftTotal", 0},
    {133, "RightTotal", 0},
    {134, "Ambisonic_W", 0},
    {135, "Ambisonic_X", 0},
    {136, "Ambisonic_Y", 0},
    {137, "Ambisonic_Z", 0},
    {138, "BottomFrontLeft", 0},
    {139, "BottomFrontCenter", 0},
    {140, "BottomFrontRight", 0},
    {141, "ProximityLeft", 0},
    {142, "ProximityRight", 0},
};

const LabelName* find(prsdk::PrAudioChannelLabel label) {
    for (const LabelName& entry : kLabels)
        if (entry.label == label) return &entry;
    return nullptr;
}

}  // namespace

const char* channelLabelName(prsdk::PrAudioChannelLabel label) {
    const LabelName* entry = find(label);
    return entry ? entry->name : "unknown";
}

std::uint32_t speakerBit(prsdk::PrAudioChannelLabel label) {
    const LabelName* entry = find(label);
    return entry ? entry->speakerBit : 0;
}

}  // namespace norvikimport
