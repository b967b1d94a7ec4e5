// Names and numbers norvik-import shows for the fields of a clip's answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "norvikhost/ImporterDriver.h"
#include "prsdk/PrSDK.h"

namespace norvikimport {

// "0 (imNoErr)"
std::string resultText(std::int32_t result);
// "'N8Y2' (0x4E385932)"
std::string codeText(std::uint32_t code);

const char* fieldTypeName(std::int32_t fieldType);
const char* alphaTypeName(std::int32_t alphaType);
const char* sampleTypeName(std::int32_t sampleType);

// The module's name of a subtype, or "" when it did not name it.
std::string subTypeName(const std::vector<norvikhost::SubType>& subTypes, std::uint32_t code);

// A number with `decimals` digits after the point, the same on every platform.
std::string fixed(double value, int decimals);

// What the data rate samples say, for people.
struct DataRateSummary {
    std::uint64_t samples = 0;
    std::uint64_t totalBytes = 0;
    std::uint32_t smallest = 0, largest = 0;
    std::uint64_t keyFrames = 0;  // samples with the top bit of sampledur set
    std::uint32_t duration = 0;   // sampledur without its top bit, when all agree
    bool sameDuration = true;
};
DataRateSummary summarise(const std::vector<prsdk::imDataSample>& samples);

}  // namespace norvikimport
