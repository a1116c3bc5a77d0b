// Reading a loose git object with zlib, in small pieces: libgit2 1.5.1 loops for ever inflating an
// object whose compressed data ends early, and it holds a whole blob in memory; kordelc inflates loose
// objects itself, checking that the data reaches its end and the size the header gives.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/text_reader.h"
#include "platform/files.h"

namespace kordel::vcs {

enum class LooseObject { NotLoose, Intact, Damaged };

/// The body of one loose object (what follows its "type size" header), inflated as it is read; memory
/// stays at two pieces of 64 KiB whatever the object's size.
class LooseObjectReader final : public engine::ByteSource {
public:
    LooseObjectReader();
    ~LooseObjectReader() override;
    LooseObjectReader(const LooseObjectReader&) = delete;
    LooseObjectReader& operator=(const LooseObjectReader&) = delete;

    /// Opens the object `hex` (40 hex digits) under `objectsFolder` ("…/.git/objects") and reads its
    /// header. NotLoose when there is no such file (the object is packed, or missing); Damaged when it
    /// is no regular file or its header can't be read; Intact when its body can be read.
    LooseObject Open(const std::filesystem::path& objectsFolder, const std::string& hex);

    /// The size the header gives.
    std::uint64_t Size() const { return m_declared; }

    /// The body's next bytes. Once it answers 0, Damaged() says whether the data was whole.
    std::ptrdiff_t Read(char* buffer, std::size_t n) override;

    /// Whether the data ended early, could not be inflated or was not of the size its header gives
    /// (known for sure once Read has answered 0).
    bool Damaged() const { return m_damaged; }

private:
    bool Inflate();

    struct Stream;
    std::unique_ptr<Stream> m_stream;
    platform::InputFile m_file;
    std::unique_ptr<char[]> m_in;
    std::unique_ptr<char[]> m_out;
    std::size_t m_outPos = 0;
    std::size_t m_outLen = 0;
    std::uint64_t m_declared = 0;
    std::uint64_t m_body = 0;
    bool m_streamEnd = false;
    bool m_damaged = false;
};

/// Whether the loose object `hex` under `objectsFolder` is whole: its data inflates to its end and to
/// the size its header gives. NotLoose when there is no such file: libgit2 then reads it as it does.
LooseObject CheckLooseObject(const std::filesystem::path& objectsFolder, const std::string& hex);

}  // namespace kordel::vcs
