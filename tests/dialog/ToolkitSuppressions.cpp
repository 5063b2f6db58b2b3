// What the sanitizers must not report in the dialog tests: memory that the
// toolkit's libraries keep until the process ends, and their worker threads,
// which they synchronise in ways the race detector cannot see because they
// are not built for it. Read by the sanitizer runtimes when present.

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libdbus-1.so\n"
           "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n"
           // The drawing library's regions of a window that another program
           // destroyed, which the toolkit never frees.
           "leak:libcairo.so\n"
           "leak:libpixman-1.so\n";
}

extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\n"
           "race:libglib-2.0.so\n"
           "deadlock:libglib-2.0.so\n";
}
