#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What every fuzz target shares: the libFuzzer entry point, and a scratch folder that lives
// as long as the process (a target runs millions of inputs; one folder serves them all).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tsukikage::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A fresh folder in /dev/shm (else the system's temporary folder), removed when the process
// exits.
const std::filesystem::path& ScratchFolder();

// Writes bytes to a file under the scratch folder, making its folders.
void WriteScratchFile(const std::filesystem::path& path, std::string_view bytes);

// Stops the process with a message when an invariant of the code under test breaks; the
// fuzzer reports it as a crash with the input that caused it.
[[noreturn]] void Fail(std::string_view what);

}  // namespace tsukikage::fuzz
