#pragma once
// Where the running executable lies: its folder and file name, split from the
// module path at start-up.
#include <cstdint>
#include <string>

namespace quillet {

// The running executable's folder (no trailing backslash) and file name, split
// at start-up. Empty texts (never null) before that.
const char* ProgramDirectory();
const char* ProgramFileName();

// The module path split at its last backslash: without one, the directory is
// empty and the file name is the whole path.
struct ModulePath {
    std::string directory;
    std::string fileName;
};
ModulePath SplitModulePath();

// The files named on the command line, read once at start-up before the
// program's folder becomes the current one, and made full paths against the
// folder the program was started in: how Explorer's "Open with", a file
// dropped on the program's icon and shortcuts name them. Arguments that begin
// with '-' or '/' are options, not files.
void ReadCommandLineFiles();
// The n-th of them, from 0; null past the last.
const char* CommandLineFileAt(int32_t index);

// Splits a path at its last backslash, stepping over double-byte characters so
// that a GBK trail byte 0x5C never counts. Returns the offset of that backslash,
// or -1 when there is none.
int32_t FindLastPathSeparator(const char* path);

}  // namespace quillet
