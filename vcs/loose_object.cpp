// Inflating a loose object to its end with zlib, keeping nothing but its length.
#include "vcs/loose_object.h"

#include <zlib.h>

#include <charconv>
#include <cstdint>
#include <memory>

#include "platform/files.h"

namespace kordel::cli {

LooseObject CheckLooseObject(const std::filesystem::path& objectsFolder, const std::string& hex) {
    if (hex.size() < 3) return LooseObject::NotLoose;
    platform::InputFile file;
    const std::filesystem::path path = objectsFolder / hex.substr(0, 2) / hex.substr(2);
    switch (file.Open(platform::PathText(path))) {
        case platform::InputFile::Status::Opened: break;
        case platform::InputFile::Status::Missing: return LooseObject::NotLoose;
        default: return LooseObject::Damaged;  // a FIFO or a folder where an object should be
    }
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return LooseObject::Damaged;
    constexpr std::size_t kPiece = 64 * 1024;
    const std::unique_ptr<char[]> in(new char[kPiece]);
    const std::unique_ptr<char[]> out(new char[kPiece]);
    std::string header;  // "blob 1234" up to its NUL
    bool headerDone = false;
    std::uint64_t declared = 0, body = 0;
    int status = Z_OK;
    bool damaged = false;
    while (status != Z_STREAM_END && !damaged) {
        const std::ptrdiff_t got = file.Read(in.get(), kPiece);
        if (got <= 0) {
            damaged = true;  // the file ends (or fails) before the compressed data does
            break;
        }
        zs.next_in = reinterpret_cast<Bytef*>(in.get());
        zs.avail_in = static_cast<uInt>(got);
        while (zs.avail_in > 0 && status != Z_STREAM_END) {
            zs.next_out = reinterpret_cast<Bytef*>(out.get());
            zs.avail_out = static_cast<uInt>(kPiece);
            status = inflate(&zs, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END) {
                damaged = true;
                break;
            }
            std::size_t made = kPiece - zs.avail_out, at = 0;
            for (; !headerDone && at < made; ++at) {
                if (out[at] == '\0') {
                    headerDone = true;
                    const std::size_t space = header.find(' ');
                    const char* digits = header.c_str() + (space == std::string::npos ? header.size() : space + 1);
                    const auto parsed = std::from_chars(digits, header.c_str() + header.size(), declared);
                    damaged = space == std::string::npos || parsed.ec != std::errc() || parsed.ptr != header.c_str() + header.size();
                } else if (header.size() < 64) {
                    header += out[at];
                } else {
                    damaged = true;
                }
            }
            if (damaged) break;
            body += made - at;
        }
    }
    inflateEnd(&zs);
    return !damaged && status == Z_STREAM_END && headerDone && body == declared ? LooseObject::Intact : LooseObject::Damaged;
}

}  // namespace kordel::cli
