// Windows: wide-character file names, and standard input out of text mode (which
// would turn CR LF into LF and stop at a Ctrl-Z byte).
#include <fcntl.h>
#include <filesystem>
#include <io.h>

#include "InputStream.h"

namespace clipmaker {

std::FILE* openBinaryInput(const std::string& utf8Path) {
    const std::filesystem::path path(std::u8string(utf8Path.begin(), utf8Path.end()));
    return _wfopen(path.c_str(), L"rb");
}

std::FILE* binaryStandardInput() {
    _setmode(_fileno(stdin), _O_BINARY);
    return stdin;
}

}  // namespace clipmaker
