#pragma once

// The large quote the benchmarks work on: items each with three installation
// lines of five hardware entries, with texts that need escaping.

#include "model/Echange.h"

DevisEchange GrandDevis(int nombreMenuiseries);
