#include "app/process.h"

platform::HWND windowHandle = nullptr;
std::uint8_t hasFocus = 1;
std::int32_t controlMode = 0;
