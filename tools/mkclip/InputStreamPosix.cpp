#include "InputStream.h"

namespace clipmaker {

std::FILE* openBinaryInput(const std::string& utf8Path) { return std::fopen(utf8Path.c_str(), "rb"); }

std::FILE* binaryStandardInput() { return stdin; }

}  // namespace clipmaker
