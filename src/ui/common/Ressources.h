#pragma once

// The program's pictures and icons are compiled into a static library: they
// are registered once, before the first window that shows one is built.
void ChargerRessources();
