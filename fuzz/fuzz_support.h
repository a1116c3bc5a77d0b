// Helpers shared by the fuzz targets: a scratch file per process and a loud invariant check.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

/// Stops the run with a message when an invariant does not hold; the fuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                              \
    do {                                                                              \
        if (!(cond)) {                                                                \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

/// Writes `bytes` to a scratch file named `name` in a per-process folder and returns its path.
inline std::filesystem::path ScratchFile(std::string_view name, std::string_view bytes) {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        d /= "kordel-fuzz-" + std::to_string(::getpid());
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::filesystem::path p = dir / name;
    std::FILE* f = std::fopen(p.c_str(), "wb");
    FUZZ_CHECK(f != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    std::fclose(f);
    return p;
}
