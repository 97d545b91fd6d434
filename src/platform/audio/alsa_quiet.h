// Keeps ALSA's library messages ("cannot find card '0'", ...) off the
// terminal: SDL loads ALSA itself, so its error handler is set through the
// same shared library before SDL's audio starts.
#pragma once

namespace platform::audio {

// Does nothing when ALSA is not installed.
void quietAlsa();

}  // namespace platform::audio
