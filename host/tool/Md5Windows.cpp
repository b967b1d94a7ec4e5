#include <windows.h>

#include <bcrypt.h>
#include <stdexcept>

#include "Md5.h"

namespace norvikimport {

namespace {

// The system's MD5 provider and one hash object, closed on destruction.
class CngMd5 {
public:
    CngMd5() {
        if (BCryptOpenAlgorithmProvider(&m_algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0) != 0 ||
            BCryptCreateHash(m_algorithm, &m_hash, nullptr, 0, nullptr, 0, 0) != 0) {
            release();
            throw std::runtime_error("the system's MD5 (bcrypt) is not available");
        }
    }
    ~CngMd5() { release(); }
    CngMd5(const CngMd5&) = delete;
    CngMd5& operator=(const CngMd5&) = delete;

    void add(const void* data, std::size_t size) {
        auto* bytes = static_cast<UCHAR*>(const_cast<void*>(data));  // BCryptHashData does not write
        while (size > 0) {
            const ULONG n = size > 0x40000000 ? 0x40000000 : ULONG(size);
            if (BCryptHashData(m_hash, bytes, n, 0) != 0) throw std::runtime_error("MD5 (bcrypt) failed");
            bytes += n;
            size -= n;
        }
    }
    void finish(UCHAR (&digest)[16]) {
        if (BCryptFinishHash(m_hash, digest, 16, 0) != 0) throw std::runtime_error("MD5 (bcrypt) failed");
    }

private:
    void release() {
        if (m_hash) BCryptDestroyHash(m_hash);
        if (m_algorithm) BCryptCloseAlgorithmProvider(m_algorithm, 0);
        m_hash = nullptr;
        m_algorithm = nullptr;
    }
    BCRYPT_ALG_HANDLE m_algorithm = nullptr;
    BCRYPT_HASH_HANDLE m_hash = nullptr;
};

}  // namespace

std::string md5Hex(const void* data, std::size_t size) {
    CngMd5 md5;
    md5.add(data, size);
    UCHAR digest[16];
    md5.finish(digest);
    return hexDigits(digest, sizeof(digest));
}

}  // namespace norvikimport
