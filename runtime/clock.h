// The whole-second calendar clock.
#pragma once
#include <cstdint>

// Whole seconds since 1601-01-01 (UTC). Only differences are meaningful to
// the program; they advance with the calendar, like a wall clock.
int64_t WholeSecondsNow();
