// The table of script lines whose message has been shown, one byte a line, kept across runs in its
// own file and not in saves.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr size_t kReadFlagCount = 200000;
constexpr const char* kReadFlagFile = "meridiane.mfl";

extern std::array<uint8_t, kReadFlagCount> ReadFlagTable;

// Lines outside 1..199,999 have no flag: they read as unread and marking them does nothing.
bool IsLineRead(int32_t line);
void MarkLineRead(int32_t line);
void ClearReadFlags();

// Clears the table, then fills it from the file when the file holds exactly the table's bytes;
// a file of any other size, or none, leaves it empty. Nothing is reported.
void LoadReadFlags(const std::string& path);
// Writes the whole table (the file layer replaces the file atomically). Returns 0 on success.
int WriteReadFlags(const std::string& path);
