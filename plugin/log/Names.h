// Names of the host interface's numbers, for the diagnostic log. Pure lookups:
// every function returns a constant string that lives for the whole run, and a
// fixed fallback for values it does not know. Safe on any thread.
#pragma once

#include <cstdint>
#include <string>

const char* selectorName(int selector);        // "????" when unknown
const char* resultName(int result);            // "????" when unknown
const char* asyncSelectorName(int selector);   // "????" when unknown
const char* asyncResultName(int result);       // "????" when unknown
const char* channelLabelName(int label);       // "Unknown_Channel_Label" when unknown
const char* pixelFormatName(uint32_t format);  // "????" when unknown

// A four-character code as text: lowest byte first when reversed is false (pixel
// formats), highest byte first when true (file types and subtypes). Bytes outside
// 0x20..0x7E are written as "[%u]".
std::string fourccToText(uint32_t code, bool reversed);
