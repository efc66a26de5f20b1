#include "module_exports.h"

#include <cstddef>

namespace {

// Reads little- or big-endian words at an offset, refusing to read past the end.
class Reader {
public:
    Reader(const std::vector<std::uint8_t>& bytes, bool bigEndian)
        : bytes_(bytes), bigEndian_(bigEndian) {}

    bool has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    std::uint64_t word(std::uint64_t offset, unsigned width) const {
        if (!has(offset, width)) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (unsigned i = 0; i < width; ++i) {
            const unsigned shift = bigEndian_ ? (width - 1 - i) * 8 : i * 8;
            value |= static_cast<std::uint64_t>(bytes_[offset + i]) << shift;
        }
        return value;
    }
    // The zero-terminated text at the offset, or "" (and not ok) when it runs off the end.
    std::string text(std::uint64_t offset) const {
        std::string out;
        for (std::uint64_t at = offset; at < bytes_.size(); ++at) {
            if (bytes_[at] == 0) {
                return out;
            }
            out += static_cast<char>(bytes_[at]);
        }
        ok_ = false;
        return "";
    }
    bool ok() const { return ok_; }

private:
    const std::vector<std::uint8_t>& bytes_;
    bool bigEndian_;
    mutable bool ok_ = true;
};

ModuleExports failed(const char* format, const std::string& why) {
    ModuleExports exports;
    exports.format = format;
    exports.error = why;
    return exports;
}

ModuleExports readElf(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 16 || (bytes[4] != 1 && bytes[4] != 2) || (bytes[5] != 1 && bytes[5] != 2)) {
        return failed("ELF", "an ELF header of an unknown class or byte order");
    }
    const bool wide = bytes[4] == 2;
    const Reader in(bytes, bytes[5] == 2);
    const unsigned address = wide ? 8 : 4;
    const std::uint64_t sectionTable = in.word(wide ? 0x28 : 0x20, address);
    const std::uint64_t sectionSize = in.word(wide ? 0x3A : 0x2E, 2);
    const std::uint64_t sectionCount = in.word(wide ? 0x3C : 0x30, 2);
    if (!in.ok() || sectionSize < (wide ? 64u : 40u)) {
        return failed("ELF", "no section table");
    }
    // A section header: name, type, flags, address, offset, size, link, info, ...
    const auto field = [&](std::uint64_t section, unsigned offset32, unsigned offset64,
                           unsigned width32, unsigned width64) {
        return in.word(sectionTable + section * sectionSize + (wide ? offset64 : offset32),
                       wide ? width64 : width32);
    };
    constexpr std::uint64_t dynamicSymbols = 11; // SHT_DYNSYM
    ModuleExports exports;
    exports.format = "ELF";
    for (std::uint64_t section = 0; section < sectionCount && in.ok(); ++section) {
        if (field(section, 4, 4, 4, 4) != dynamicSymbols) {
            continue;
        }
        const std::uint64_t offset = field(section, 16, 24, 4, 8);
        const std::uint64_t size = field(section, 20, 32, 4, 8);
        const std::uint64_t link = field(section, 24, 40, 4, 4);
        const std::uint64_t entry = field(section, 36, 56, 4, 8);
        if (link >= sectionCount || entry < (wide ? 24u : 16u)) {
            return failed("ELF", "a dynamic symbol table without its names");
        }
        const std::uint64_t names = field(link, 16, 24, 4, 8);
        if (!in.has(offset, size)) {
            return failed("ELF", "a dynamic symbol table past the end of the file");
        }
        for (std::uint64_t symbol = offset; symbol + entry <= offset + size; symbol += entry) {
            // 32-bit: name, value, size, info, other, section; 64-bit: name, info, other,
            // section, value, size.
            const std::uint64_t name = in.word(symbol, 4);
            const std::uint64_t info = in.word(symbol + (wide ? 4 : 12), 1);
            const std::uint64_t other = in.word(symbol + (wide ? 5 : 13), 1);
            const std::uint64_t index = in.word(symbol + (wide ? 6 : 14), 2);
            const unsigned binding = static_cast<unsigned>(info >> 4);
            const unsigned visibility = static_cast<unsigned>(other & 3);
            const bool visible =
                (binding == 1 || binding == 2) && (visibility == 0 || visibility == 3);
            if (index != 0 && visible) {
                exports.names.push_back(in.text(names + name));
            }
        }
    }
    if (!in.ok()) {
        return failed("ELF", "a table that runs past the end of the file");
    }
    return exports;
}

ModuleExports readPe(const std::vector<std::uint8_t>& bytes) {
    const Reader in(bytes, false);
    const std::uint64_t header = in.word(0x3C, 4);
    if (!in.ok() || in.word(header, 4) != 0x00004550) { // "PE\0\0"
        return failed("PE", "no PE header");
    }
    const std::uint64_t sections = in.word(header + 6, 2);
    const std::uint64_t optionalSize = in.word(header + 20, 2);
    const std::uint64_t optional = header + 24;
    const std::uint64_t magic = in.word(optional, 2);
    if (magic != 0x10B && magic != 0x20B) {
        return failed("PE", "an optional header of an unknown kind");
    }
    const std::uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
    const std::uint64_t exportRva = in.word(directories, 4);
    ModuleExports exports;
    exports.format = "PE";
    if (!in.ok() || exportRva == 0) {
        return in.ok() ? exports : failed("PE", "a header past the end of the file");
    }
    // An address in the loaded image, as an offset in the file, through the section that
    // holds it.
    const std::uint64_t sectionTable = optional + optionalSize;
    const auto fileOffset = [&](std::uint64_t rva, bool& found) -> std::uint64_t {
        for (std::uint64_t s = 0; s < sections; ++s) {
            const std::uint64_t at = sectionTable + s * 40;
            const std::uint64_t virtualSize = in.word(at + 8, 4);
            const std::uint64_t virtualAddress = in.word(at + 12, 4);
            const std::uint64_t rawOffset = in.word(at + 20, 4);
            if (rva >= virtualAddress && rva < virtualAddress + virtualSize) {
                found = true;
                return rawOffset + (rva - virtualAddress);
            }
        }
        found = false;
        return 0;
    };
    bool found = false;
    const std::uint64_t directory = fileOffset(exportRva, found);
    if (!found) {
        return failed("PE", "an export directory in no section");
    }
    const std::uint64_t count = in.word(directory + 24, 4);
    const std::uint64_t namesAt = fileOffset(in.word(directory + 32, 4), found);
    if (!found && count != 0) {
        return failed("PE", "export names in no section");
    }
    for (std::uint64_t i = 0; i < count && in.ok(); ++i) {
        const std::uint64_t name = fileOffset(in.word(namesAt + i * 4, 4), found);
        if (!found) {
            return failed("PE", "an export name in no section");
        }
        exports.names.push_back(in.text(name));
    }
    if (!in.ok()) {
        return failed("PE", "a table that runs past the end of the file");
    }
    return exports;
}

} // namespace

ModuleExports readModuleExports(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 4 && bytes[0] == 0x7F && bytes[1] == 'E' && bytes[2] == 'L' &&
        bytes[3] == 'F') {
        return readElf(bytes);
    }
    if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
        return readPe(bytes);
    }
    return failed("", "neither an ELF nor a PE file");
}
