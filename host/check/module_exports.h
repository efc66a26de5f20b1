// The symbols a module file exports, read from the file itself: the dynamic symbol table
// of an ELF shared object (32- or 64-bit, either byte order), or the export directory of
// a PE DLL (32- or 64-bit). Pure: bytes in, names out, no loading and no I/O, so that it
// is tested and fuzzed on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ModuleExports {
    std::string format;             // "ELF" or "PE"
    std::vector<std::string> names; // defined, visible symbols, in table order
    std::string error;              // not empty when the bytes are no module this reader knows
};

// The exports of the module file whose bytes are given. For ELF: every symbol of .dynsym
// that is defined (not undefined), global or weak, and of default or protected
// visibility. For PE: every name of the export directory.
ModuleExports readModuleExports(const std::vector<std::uint8_t>& bytes);
