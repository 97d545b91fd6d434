// Libraries the game loads keep some allocations for the life of the
// process (Mesa's drivers, D-Bus under SDL) or lose a few bytes on their own
// error paths (libvorbisfile when ov_open fails on a damaged stream). The
// leak checker of sanitizer builds is told to let those, and only those, be.
// This file is compiled into every program that links the platform layer.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libEGL_mesa\nleak:libGLX_mesa\nleak:swrast_dri\nleak:kms_swrast_dri\n"
           "leak:libgallium\nleak:libLLVM\nleak:libglapi\nleak:_dri.so\n"
           "leak:libdbus-1.so\nleak:libX11.so\nleak:libvorbisfile.so\n";
}

// The list of suppressions used would otherwise be printed at exit, after
// the game's own last lines on stderr, which the tests read exactly.
// The runtime's __tls_get_addr hook (GCC 12's, at least) takes a dynamic TLS
// block that happens to start 16 bytes into a page for an old glibc header
// and reads a bogus range from the words before it; the leak checker's
// thread tracer then crashes at exit ("Tracer caught signal 11"). Window runs
// meet it, as the GL driver's libraries carry dynamic TLS. Our own
// thread-locals are static TLS, which the checker still scans.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0:intercept_tls_get_addr=0"; }
