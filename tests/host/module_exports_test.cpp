// Reading a module's exports from its file: a real ELF module, a PE DLL laid out by hand,
// and bytes that are no module or are cut short, which give an error, never a crash.
#include "module_exports.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;

std::vector<std::uint8_t> fileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// A 64-bit PE image with one section (.edata at file offset 0x200, address 0x1000)
// holding an export directory of the given names.
std::vector<std::uint8_t> peWithExports(const std::vector<std::string>& names) {
    std::vector<std::uint8_t> bytes(0x400, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    put(bytes, 0x3C, 0x80, 4);       // where the PE header is
    put(bytes, 0x80, 0x00004550, 4); // "PE\0\0"
    put(bytes, 0x86, 1, 2);          // one section
    put(bytes, 0x94, 0xF0, 2);       // the optional header's size
    const std::size_t optional = 0x98;
    put(bytes, optional, 0x20B, 2);        // PE32+
    put(bytes, optional + 112, 0x1000, 4); // the export directory's address
    const std::size_t section = optional + 0xF0;
    std::memcpy(&bytes[section], ".edata", 6);
    put(bytes, section + 8, 0x200, 4);   // its size in memory
    put(bytes, section + 12, 0x1000, 4); // its address
    put(bytes, section + 20, 0x200, 4);  // where it lies in the file
    const std::size_t directory = 0x200;
    put(bytes, directory + 24, static_cast<std::uint32_t>(names.size()), 4);
    put(bytes, directory + 32, 0x1000 + 0x40, 4); // the names' table
    std::size_t text = 0x100;
    for (std::size_t i = 0; i < names.size(); ++i) {
        put(bytes, directory + 0x40 + i * 4, static_cast<std::uint32_t>(0x1000 + text), 4);
        std::memcpy(&bytes[directory + text], names[i].c_str(), names[i].size() + 1);
        text += names[i].size() + 1;
    }
    return bytes;
}

TEST(ModuleExports, ReadsTheDynamicSymbolsOfAnElfModule) {
    const ModuleExports component = readModuleExports(fileBytes(RY_DEST_MODULE_PATH));
    EXPECT_EQ(component.error, "");
    EXPECT_EQ(component.format, "ELF");
    EXPECT_THAT(component.names, ElementsAre("load_zarn_client_script"));
    const ModuleExports extra = readModuleExports(fileBytes(FAULTY_EXPORTS_PATH));
    EXPECT_THAT(extra.names, testing::UnorderedElementsAre("load_zarn_client_script",
                                                           "zarn_faulty_extra_symbol"));
}

TEST(ModuleExports, ReadsTheExportDirectoryOfAPeDll) {
    const ModuleExports dll = readModuleExports(peWithExports({"load_zarn_client_script"}));
    EXPECT_EQ(dll.error, "");
    EXPECT_EQ(dll.format, "PE");
    EXPECT_THAT(dll.names, ElementsAre("load_zarn_client_script"));
    EXPECT_THAT(readModuleExports(peWithExports({"a", "second"})).names,
                ElementsAre("a", "second"));
    EXPECT_TRUE(readModuleExports(peWithExports({})).names.empty());
}

TEST(ModuleExports, RefusesWhatIsNoModuleAndSurvivesEveryCut) {
    EXPECT_NE(readModuleExports({}).error, "");
    EXPECT_NE(readModuleExports({'#', '!', '/', 'b'}).error, "");
    for (const std::vector<std::uint8_t>& whole :
         {fileBytes(RY_DEST_MODULE_PATH), peWithExports({"load_zarn_client_script"})}) {
        // Cut at every length up to its first 4 KiB, and at a few beyond.
        for (std::size_t length = 0; length < whole.size(); length += length < 4096 ? 1 : 997) {
            const std::vector<std::uint8_t> cut(whole.begin(),
                                                whole.begin() + static_cast<long>(length));
            const ModuleExports read = readModuleExports(cut);
            EXPECT_TRUE(!read.error.empty() || read.names.size() <= 1) << length;
        }
    }
}

} // namespace
