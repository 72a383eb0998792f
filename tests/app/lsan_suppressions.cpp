// Fontconfig keeps a few caches for the life of the process; the leak checker of
// sanitizer builds would report them at exit. Only library-owned memory is listed.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
