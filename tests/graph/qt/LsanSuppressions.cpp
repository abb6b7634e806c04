// Leaks inside the system's font and display libraries that the tests cannot free; built into the
// test binary so that running it directly and under ctest agree.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus\nleak:libglib\nleak:libQt6Gui\nleak:libQt6Core\n";
}
