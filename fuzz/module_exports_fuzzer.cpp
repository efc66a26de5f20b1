// libFuzzer: the reader of module files' export tables (ELF and PE). Whatever the bytes,
// it gives names or an error, reading nothing past their end (the sanitizers watch), and
// every name it gives is shorter than the bytes.
#include "fuzz_check.h"

#include "module_exports.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    const ModuleExports exports = readModuleExports(bytes);
    for (const std::string& name : exports.names) {
        FUZZ_CHECK(name.size() < size, "a name comes from the bytes");
    }
    return 0;
}
