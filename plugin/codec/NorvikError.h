// A failed codec library call: "Norvik error (<code>): <library text>: <context>".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class NorvikError : public std::runtime_error {
public:
    NorvikError(const std::string& context, int32_t code);

    int32_t errorCode;  // the library's result
};
