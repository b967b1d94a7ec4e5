#include <nettle/md5.h>

#include "Md5.h"

namespace norvikimport {

std::string md5Hex(const void* data, std::size_t size) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, size, static_cast<const std::uint8_t*>(data));
    std::uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&context, MD5_DIGEST_SIZE, digest);
    return hexDigits(digest, sizeof(digest));
}

}  // namespace norvikimport
