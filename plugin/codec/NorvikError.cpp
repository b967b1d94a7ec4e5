#include "codec/NorvikError.h"

#include "codec/NorvikLibrary.h"

namespace {

std::string messageOf(const std::string& context, int32_t code) {
    return "Norvik error (" + std::to_string(code) + "): " + codecString(kCodecStringError, code) + ": " + context;
}

}  // namespace

NorvikError::NorvikError(const std::string& context, int32_t code)
    : std::runtime_error(messageOf(context, code)), m_code(code) {}
