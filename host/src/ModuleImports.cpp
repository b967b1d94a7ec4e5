// Reads a PE file's import directory: DOS header -> PE signature -> optional
// header's data directory 1 (imports) -> one 20-byte descriptor per library,
// ended by a zero one, each pointing at the library's name. Addresses in the
// directory are relative to the loaded image, so they are mapped back to file
// offsets through the section table. Every read is bounds-checked.
#include "norvikhost/ModuleImports.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

namespace norvikhost {

namespace {

constexpr std::size_t kDescriptorSize = 20;
constexpr std::size_t kMaxLibraries = 1024;  // a bound for a table without its zero end
constexpr std::size_t kMaxNameLength = 260;

class ImageReader {
public:
    explicit ImageReader(std::string_view image) : m_image(image) {}

    std::optional<std::uint32_t> u32(std::size_t offset) const { return read(offset, 4); }
    std::optional<std::uint32_t> u16(std::size_t offset) const { return read(offset, 2); }

    // The file offset of an address relative to the loaded image, through the section table.
    std::optional<std::size_t> fileOffset(std::uint32_t rva) const {
        for (std::uint32_t i = 0; i < m_sections; ++i) {
            const std::size_t header = m_sectionTable + 40 * std::size_t(i);
            const auto size = u32(header + 8), address = u32(header + 12), rawSize = u32(header + 16),
                       rawOffset = u32(header + 20);
            if (!size || !address || !rawSize || !rawOffset) return std::nullopt;
            const std::uint32_t span = *size > *rawSize ? *size : *rawSize;
            if (rva >= *address && rva - *address < span) return std::size_t(*rawOffset) + (rva - *address);
        }
        return std::nullopt;
    }

    // The NUL-terminated text at a file offset; empty when it runs past the image.
    std::string text(std::size_t offset) const {
        std::string result;
        while (offset < m_image.size() && m_image[offset] != '\0' && result.size() < kMaxNameLength)
            result += m_image[offset++];
        return offset < m_image.size() && m_image[offset] == '\0' ? result : std::string();
    }

    void setSections(std::size_t table, std::uint32_t count) { m_sectionTable = table, m_sections = count; }

private:
    std::optional<std::uint32_t> read(std::size_t offset, std::size_t bytes) const {
        if (offset > m_image.size() || m_image.size() - offset < bytes) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) value |= std::uint32_t(std::uint8_t(m_image[offset + i])) << (8 * i);
        return value;
    }

    std::string_view m_image;
    std::size_t m_sectionTable = 0;
    std::uint32_t m_sections = 0;
};

// The import directory's address relative to the image, or nothing.
std::optional<std::uint32_t> importDirectory(ImageReader& reader) {
    const auto pe = reader.u32(0x3c);
    if (!pe || reader.u32(*pe) != 0x00004550u) return std::nullopt;  // "PE\0\0"
    const auto sections = reader.u16(*pe + 6), optionalSize = reader.u16(*pe + 20);
    const std::size_t optional = std::size_t(*pe) + 24;
    const auto magic = reader.u16(optional);
    if (!sections || !optionalSize || !magic || (*magic != 0x10b && *magic != 0x20b)) return std::nullopt;
    reader.setSections(optional + *optionalSize, *sections);
    const std::size_t directories = optional + (*magic == 0x20b ? 112 : 96);
    const auto count = reader.u32(directories - 4);
    if (!count || *count < 2) return std::nullopt;
    return reader.u32(directories + 8);
}

}  // namespace

std::vector<std::string> importedLibraries(std::string_view image) {
    ImageReader reader(image);
    std::vector<std::string> names;
    const auto directory = importDirectory(reader);
    if (!directory || *directory == 0) return names;
    const auto table = reader.fileOffset(*directory);
    if (!table) return names;
    for (std::size_t i = 0; i < kMaxLibraries; ++i) {
        const auto nameAddress = reader.u32(*table + kDescriptorSize * i + 12);
        if (!nameAddress || *nameAddress == 0) break;
        const auto nameOffset = reader.fileOffset(*nameAddress);
        const std::string name = nameOffset ? reader.text(*nameOffset) : std::string();
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

std::vector<std::string> importedLibrariesOfFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return importedLibraries(image);
}

}  // namespace norvikhost
