#include "InputStream.h"

#include <stdexcept>

namespace clipmaker {

InputStream::InputStream(const std::string& path) {
    if (path == "-") {
        m_file = binaryStandardInput();
        m_name = "standard input";
        return;
    }
    m_file = openBinaryInput(path);
    m_owned = true;
    m_name = path;
    if (m_file == nullptr) throw std::runtime_error("cannot open " + path);
}

InputStream::~InputStream() {
    if (m_owned) std::fclose(m_file);
}

size_t InputStream::read(void* data, size_t count) {
    const size_t got = std::fread(data, 1, count, m_file);
    if (got < count && std::ferror(m_file)) throw std::runtime_error("cannot read " + m_name);
    return got;
}

bool InputStream::readLine(std::string& line, size_t limit) {
    line.clear();
    for (int c = std::getc(m_file); c != EOF; c = std::getc(m_file)) {
        if (c == '\n') return true;
        line.push_back(static_cast<char>(c));
        if (line.size() == limit) return true;
    }
    if (std::ferror(m_file)) throw std::runtime_error("cannot read " + m_name);
    return !line.empty();
}

}  // namespace clipmaker
