// Linked into the fuzzer builds: fontconfig keeps a few hundred bytes of its one-time
// initialisation until FcFini, which the drawing layer never calls (the toolkit shares the
// configuration). Reported as a leak, it would stop every run at its first font.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
