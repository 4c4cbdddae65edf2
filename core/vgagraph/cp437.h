#pragma once
// The characters of the PC's text mode (code page 437) as Unicode, to show text screens with
// ordinary fonts.

#include <cstdint>

char32_t cp437ToUnicode(uint8_t character);
