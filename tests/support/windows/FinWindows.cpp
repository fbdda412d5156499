// Test programs on Windows end as the program does: the MinGW runtime would
// destroy the main thread's thread-local objects after the static ones, and
// a test that drew animated widgets could crash, or hang, after its last
// test. Linked with --wrap=exit, so the C runtime's exit after main ends here.

#include "model/Systeme.h"

extern "C" [[noreturn]] void __wrap_exit(int code)
{
    Systeme::Terminer(code);
}
