#pragma once
// Who we are, as the caption, the About dialog and the files we write say it.

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 27;
constexpr const char* kTessarandWebAddress = "https://tessarand.example.org/";
