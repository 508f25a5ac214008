// For sanitizer builds: fontconfig and D-Bus, loaded by Qt's platform plugins, keep
// memory until the process ends. That is no leak of ours; the leak checker reads these
// suppressions from this hook (an unused function in other builds).
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
