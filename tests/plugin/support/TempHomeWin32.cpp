// Windows: the user's real profile folder (under Wine, the prefix's).
#include "TempHome.h"
#include "platform/Platform.h"

const std::string& testProfileFolder() {
    static const std::string folder = platform::toUtf8(platform::profileFolder());
    return folder;
}
