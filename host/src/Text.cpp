#include "norvikhost/Text.h"

#include <cstdio>
#include <cstring>

#include "prsdk/PrSDK.h"

namespace norvikhost {

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u >= 0xD800 && u < 0xDC00) {
            if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
                appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
                ++i;
            } else {
                appendUtf8(out, kReplacement);
            }
        } else if (u >= 0xDC00 && u < 0xE000) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

std::string utf16ToUtf8(const char16_t* text, std::size_t maxUnits) {
    if (!text) return {};
    std::size_t n = 0;
    while (n < maxUnits && text[n] != 0) ++n;
    return utf16ToUtf8(std::u16string_view(text, n));
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + std::size_t(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto cb = static_cast<unsigned char>(text[i + std::size_t(k)]);
            ok = (cb & 0xC0) == 0x80;
            c = (c << 6) | (cb & 0x3F);
        }
        if (!ok || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out += char16_t(kReplacement);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += std::size_t(extra) + 1;
    }
    return out;
}

std::string boundedString(const char* field, std::size_t size) {
    if (!field) return {};
    std::size_t n = 0;
    while (n < size && field[n] != 0) ++n;
    return std::string(field, n);
}

std::string fourccText(std::uint32_t code) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((code >> shift) & 0xFF);
        out += (c >= 0x20 && c <= 0x7E) ? c : '.';
    }
    return out;
}

std::string hexText(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(value));
    return text;
}

const char* resultName(std::int32_t result) {
    using namespace prsdk;
    switch (result) {
        case imNoErr: return "imNoErr";
        case imBadFile: return "imBadFile";
        case imUnsupported: return "imUnsupported";
        case imMemErr: return "imMemErr";
        case imOtherErr: return "imOtherErr";
        case imBadCompression: return "imBadCompression";
        case imIterateStreams: return "imIterateStreams";
        case imBadStreamIndex: return "imBadStreamIndex";
        case imFrameNotFound: return "imFrameNotFound";
        case imFileReadFailed: return "imFileReadFailed";
        case imDecompressionError: return "imDecompressionError";
        case imUnknownError: return "unknown error";
        case malSupports8: return "malSupports8";
        case imBadFormatIndex: return "imBadFormatIndex";
        default: return "unknown";
    }
}

const char* asyncResultName(std::int32_t result) {
    using namespace prsdk;
    switch (result) {
        case aiNoError: return "aiNoError";
        case aiUnsupported: return "aiUnsupported";
        case aiUnknownError: return "aiUnknownError";
        case aiFrameNotFound: return "aiFrameNotFound";
        case imUnknownError: return "unknown error";
        default: return "unknown";
    }
}

}  // namespace norvikhost
