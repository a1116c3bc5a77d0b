// Inflating a loose object with zlib, piece by piece.
#include "vcs/loose_object.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kordel::vcs {
namespace {

constexpr std::size_t kPiece = 64 * 1024;
constexpr std::size_t kMaxHeader = 64;  // "blob 1234": a type and a decimal size

}  // namespace

struct LooseObjectReader::Stream {
    z_stream zs{};
    bool started = false;
    ~Stream() {
        if (started) inflateEnd(&zs);
    }
};

LooseObjectReader::LooseObjectReader() = default;
LooseObjectReader::~LooseObjectReader() = default;

LooseObject LooseObjectReader::Open(const std::filesystem::path& objectsFolder, const std::string& hex) {
    if (hex.size() < 3) return LooseObject::NotLoose;
    const std::filesystem::path path = objectsFolder / hex.substr(0, 2) / hex.substr(2);
    switch (m_file.Open(platform::PathText(path))) {
        case platform::InputFile::Status::Opened: break;
        case platform::InputFile::Status::Missing: return LooseObject::NotLoose;
        default: return LooseObject::Damaged;  // a FIFO or a folder where an object should be
    }
    m_stream = std::make_unique<Stream>();
    if (inflateInit(&m_stream->zs) != Z_OK) return LooseObject::Damaged;
    m_stream->started = true;
    m_in.reset(new char[kPiece]);
    m_out.reset(new char[kPiece]);
    // The header, up to its NUL; what follows it in the same piece is the body's start.
    std::string header;
    for (;;) {
        if (m_outPos == m_outLen && !Inflate()) return LooseObject::Damaged;
        const char* begin = m_out.get() + m_outPos;
        const char* nul = static_cast<const char*>(std::memchr(begin, '\0', m_outLen - m_outPos));
        const std::size_t take = nul ? static_cast<std::size_t>(nul - begin) : m_outLen - m_outPos;
        header.append(begin, std::min(take, kMaxHeader + 1));
        m_outPos += nul ? take + 1 : take;
        if (header.size() > kMaxHeader) return LooseObject::Damaged;
        if (nul) break;
    }
    const std::size_t space = header.find(' ');
    if (space == std::string::npos) return LooseObject::Damaged;
    const char* end = header.data() + header.size();
    const auto parsed = std::from_chars(header.data() + space + 1, end, m_declared);
    if (parsed.ec != std::errc() || parsed.ptr != end) return LooseObject::Damaged;
    return LooseObject::Intact;
}

// The next piece of inflated bytes into m_out; false at the end of the data or when it is damaged.
bool LooseObjectReader::Inflate() {
    if (m_streamEnd || m_damaged) return false;
    z_stream& zs = m_stream->zs;
    zs.next_out = reinterpret_cast<Bytef*>(m_out.get());
    zs.avail_out = static_cast<uInt>(kPiece);
    while (zs.avail_out == kPiece) {
        if (zs.avail_in == 0) {
            const std::ptrdiff_t got = m_file.Read(m_in.get(), kPiece);
            if (got <= 0) {
                m_damaged = true;  // the file ends (or fails) before the compressed data does
                return false;
            }
            zs.next_in = reinterpret_cast<Bytef*>(m_in.get());
            zs.avail_in = static_cast<uInt>(got);
        }
        const int status = inflate(&zs, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            m_streamEnd = true;
            break;
        }
        if (status != Z_OK) {
            m_damaged = true;
            return false;
        }
    }
    m_outPos = 0;
    m_outLen = kPiece - zs.avail_out;
    return m_outLen > 0;
}

std::ptrdiff_t LooseObjectReader::Read(char* buffer, std::size_t n) {
    if (!m_stream || m_damaged) return m_damaged ? -1 : 0;
    std::size_t done = 0;
    while (done < n) {
        if (m_outPos == m_outLen && !Inflate()) break;
        const std::size_t take = std::min(n - done, m_outLen - m_outPos);
        std::memcpy(buffer + done, m_out.get() + m_outPos, take);
        m_outPos += take;
        done += take;
    }
    m_body += done;
    // More than the header promised, or the end before it: the object is not what it says.
    if (m_body > m_declared || (done < n && !m_damaged && (!m_streamEnd || m_body != m_declared))) m_damaged = true;
    return m_damaged && done == 0 ? -1 : static_cast<std::ptrdiff_t>(done);
}

LooseObject CheckLooseObject(const std::filesystem::path& objectsFolder, const std::string& hex) {
    LooseObjectReader reader;
    const LooseObject opened = reader.Open(objectsFolder, hex);
    if (opened != LooseObject::Intact) return opened;
    const std::unique_ptr<char[]> piece(new char[kPiece]);
    while (reader.Read(piece.get(), kPiece) > 0) {
    }
    return reader.Damaged() ? LooseObject::Damaged : LooseObject::Intact;
}

}  // namespace kordel::vcs
