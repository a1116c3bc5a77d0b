// The cache file: "KORDELHC", a format version, sections (option set, languages, entries of blob id,
// language and five counts), and a checksum of all that. Numbers are little-endian.
#include "history/history_cache.h"

#include <cstring>

#include "sources/regular_file.h"
#include "common/atomic_file.h"

namespace kordel::cli {
namespace {

constexpr std::string_view kMagic = "KORDELHC";
constexpr std::uint32_t kFormat = 1;

std::uint64_t Checksum(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a
    for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

template <class T>
void Put(std::string& out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

// Reads numbers and texts with every length checked against what is left.
class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
    template <class T>
    bool Get(T& value) {
        if (m_bytes.size() - m_at < sizeof(T)) return false;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_bytes[m_at + i])) << (8 * i);
        value = static_cast<T>(v);
        m_at += sizeof(T);
        return true;
    }
    bool Text(std::string_view& text) {
        std::uint32_t size = 0;
        if (!Get(size) || m_bytes.size() - m_at < size) return false;
        text = m_bytes.substr(m_at, size);
        m_at += size;
        return true;
    }
    bool Skip(std::uint64_t n) {
        if (m_bytes.size() - m_at < n) return false;
        m_at += n;
        return true;
    }
    std::size_t at() const { return m_at; }
    std::string_view bytes() const { return m_bytes; }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

}  // namespace

HistoryCache::Load HistoryCache::Read(const std::string& path, const std::string& key, HistoryLanguages& languages,
                                      BlobMemo& memo, std::string& reason) {
    m_otherSections.clear();
    std::string bytes;
    switch (ReadRegularFile(path, bytes)) {
        case ReadStatus::Ok: break;
        case ReadStatus::Missing: return Load::Missing;
        case ReadStatus::NotRegular: return Load::NotACache;
        case ReadStatus::Unreadable: reason = "it cannot be read"; return Load::Damaged;
    }
    if (bytes.empty()) return Load::Missing;
    if (!std::string_view(bytes).starts_with(kMagic)) return Load::NotACache;
    const auto damaged = [&](const char* why) {
        reason = why;
        m_otherSections.clear();
        return Load::Damaged;
    };
    if (bytes.size() < kMagic.size() + 4 + 4 + 8) return damaged("it is cut short");
    const std::string_view body(bytes.data(), bytes.size() - 8);
    Reader sum(std::string_view(bytes).substr(body.size()));
    std::uint64_t stored = 0;
    sum.Get(stored);
    Reader r(body);
    r.Skip(kMagic.size());
    std::uint32_t format = 0, sections = 0;
    r.Get(format);
    if (format != kFormat) return damaged("it has another format version");
    if (stored != Checksum(body)) return damaged("its checksum does not match its contents");
    r.Get(sections);
    // Entries are read into a memo of their own first: a section found broken halfway adds nothing.
    BlobMemo loaded;
    std::vector<std::uint16_t> numbers;
    bool ours = false;
    for (std::uint32_t s = 0; s < sections; ++s) {
        const std::size_t start = r.at();
        std::string_view sectionKey;
        std::uint32_t languageCount = 0;
        if (!r.Text(sectionKey) || !r.Get(languageCount)) return damaged("a section is cut short");
        const bool mine = sectionKey == key && !ours;
        numbers.clear();
        for (std::uint32_t l = 0; l < languageCount; ++l) {
            std::uint8_t user = 0;
            std::string_view name;
            if (!r.Get(user) || !r.Text(name)) return damaged("a language is cut short");
            if (mine) numbers.push_back(languages.Intern(std::string(name), user != 0));
        }
        std::uint64_t entries = 0;
        if (!r.Get(entries) || entries > (body.size() - r.at()) / kCacheEntryBytes)
            return damaged("a section's entries are cut short");
        if (!mine) {
            r.Skip(entries * kCacheEntryBytes);
            m_otherSections.emplace_back(body.substr(start, r.at() - start));
            continue;
        }
        ours = true;
        for (std::uint64_t e = 0; e < entries; ++e) {
            BlobId blob;
            for (unsigned char& b : blob) r.Get(b);
            std::uint16_t language = 0;
            std::uint32_t counts[5] = {};
            r.Get(language);
            for (std::uint32_t& c : counts) r.Get(c);
            if (language >= numbers.size()) return damaged("an entry names no language");
            bool added = false;
            MemoEntry& entry = loaded.Find(blob, numbers[language], added);
            loaded.Store(entry, {counts[0], counts[1], counts[2], counts[3], counts[4]});
        }
    }
    if (r.at() != body.size()) return damaged("it holds more than its sections");
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        bool added = false;
        MemoEntry& entry = memo.Find(loaded[i].blob, loaded[i].language, added);
        if (added) memo.Store(entry, loaded.Counts(loaded[i]));
    }
    return Load::Loaded;
}

std::string HistoryCache::Bytes(const std::string& key, const HistoryLanguages& languages, const BlobMemo& memo) const {
    std::string out(kMagic);
    Put<std::uint32_t>(out, kFormat);
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(m_otherSections.size() + 1));
    for (const std::string& section : m_otherSections) out += section;
    PutText(out, key);
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(languages.size()));
    for (std::size_t l = 0; l < languages.size(); ++l) {
        Put<std::uint8_t>(out, languages.User(l) ? 1 : 0);
        PutText(out, languages.Name(l));
    }
    std::uint64_t entries = 0;
    for (std::size_t i = 0; i < memo.size(); ++i) entries += memo[i].state == MemoEntry::State::Counted && !memo[i].large;
    Put<std::uint64_t>(out, entries);
    out.reserve(out.size() + entries * kCacheEntryBytes + 8);
    for (std::size_t i = 0; i < memo.size(); ++i) {
        const MemoEntry& e = memo[i];
        if (e.state != MemoEntry::State::Counted || e.large) continue;
        out.append(reinterpret_cast<const char*>(e.blob.data()), e.blob.size());
        Put<std::uint16_t>(out, e.language);
        for (std::uint32_t c : {e.code, e.comment, e.mixed, e.blank, e.lines}) Put<std::uint32_t>(out, c);
    }
    Put<std::uint64_t>(out, Checksum(out));
    return out;
}

bool HistoryCache::Write(const std::string& path, const std::string& key, const HistoryLanguages& languages,
                         const BlobMemo& memo) const {
    return WriteFileAtomically(path, Bytes(key, languages, memo));
}

}  // namespace kordel::cli
