// Sanitizer settings for the test programs that load the browser engine.
#ifdef __SANITIZE_ADDRESS__
// Chromium inside libQt6WebEngineCore frees some objects through a base type of another size
// (new-delete-type-mismatch in ~WebContentsAdapter); that check cannot be scoped to one library.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0";
}

// Chromium leaves its browser-side singletons (profile internals, udev monitor) to process exit.
// Only the programs that load the engine link this file, so the suppressions stay with them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6WebEngineCore.so\nleak:libudev.so\n";
}
#endif
