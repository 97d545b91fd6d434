#include "platform/audio/com.h"

#include <unistd.h>

#include <cstring>
#include <string>

namespace platform {

namespace {
std::atomic<int> g_comUsers{0};
}

int comUsers() { return g_comUsers.load(); }

HRESULT CoInitialize(void*) {
    return g_comUsers++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (g_comUsers > 0) --g_comUsers;
}

DWORD GetCurrentDirectoryA(DWORD size, char* buf) {
    std::string dir(4096, '\0');
    if (!getcwd(dir.data(), dir.size())) return 0;
    dir.resize(std::strlen(dir.c_str()));
    if (!buf || dir.size() + 1 > size) return static_cast<DWORD>(dir.size() + 1);
    std::memcpy(buf, dir.c_str(), dir.size() + 1);
    return static_cast<DWORD>(dir.size());
}

int MultiByteToWideChar(unsigned, DWORD, const char* mb, int cbMultiByte, WCHAR* out, int cchWideChar) {
    if (!mb) return 0;
    std::size_t len = cbMultiByte < 0 ? std::strlen(mb) + 1 : static_cast<std::size_t>(cbMultiByte);
    std::u16string wide;
    const auto* s = reinterpret_cast<const unsigned char*>(mb);
    for (std::size_t i = 0; i < len;) {
        unsigned c = s[i];
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        char32_t cp = 0xFFFD;
        if (extra >= 0 && i + extra < len) {
            cp = extra == 0 ? c : c & (0x3F >> extra);
            bool ok = true;
            for (int k = 1; k <= extra; ++k) {
                if ((s[i + k] & 0xC0) != 0x80) ok = false;
                cp = (cp << 6) | (s[i + k] & 0x3F);
            }
            if (!ok || cp > 0x10FFFF) cp = 0xFFFD, extra = 0;
        } else {
            extra = 0;
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            wide += static_cast<char16_t>(0xD800 + (cp >> 10));
            wide += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            wide += static_cast<char16_t>(cp);
        }
    }
    if (cchWideChar == 0) return static_cast<int>(wide.size());
    if (!out || wide.size() > static_cast<std::size_t>(cchWideChar)) return 0;
    std::memcpy(out, wide.data(), wide.size() * sizeof(WCHAR));
    return static_cast<int>(wide.size());
}

}  // namespace platform
