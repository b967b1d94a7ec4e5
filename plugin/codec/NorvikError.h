// A failed codec library call: "Norvik error (<code>): <library text>: <context>".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class NorvikError : public std::runtime_error {
public:
    NorvikError(const std::string& context, int32_t code);

    // The library's result.
    int32_t code() const { return m_code; }

private:
    int32_t m_code;
};
