// The cache file: "KORDELHC", a format version, sections and a checksum of all that. A section is a
// kind, its key, its languages, then for blob counts the entries of blob id, language and five counts
// and the blobs whose "#!" line decided their language; for point totals each commit with the
// languages whose totals differ from the point before it in the file. Numbers are little-endian;
// totals are variable-length.
#include "history/history_cache.h"

#include <cstring>

#include "sources/regular_file.h"
#include "common/atomic_file.h"

namespace kordel::history {
namespace {

constexpr std::string_view kMagic = "KORDELHC";
constexpr std::uint32_t kFormat = 2;
constexpr std::uint8_t kBlobSection = 1, kPointSection = 2;
constexpr std::uint16_t kNoLanguage = 0xFFFF;
// The smallest a point can take: its commit id and a language count.
constexpr std::size_t kPointBytes = 22;

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

// Seven bits a byte, the sign folded into the lowest bit.
void PutNumber(std::string& out, std::int64_t value) {
    std::uint64_t v = (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
    for (; v >= 0x80; v >>= 7) out += static_cast<char>((v & 0x7F) | 0x80);
    out += static_cast<char>(v);
}

void PutLanguages(std::string& out, const HistoryLanguages& languages) {
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(languages.size()));
    for (std::size_t l = 0; l < languages.size(); ++l) {
        Put<std::uint8_t>(out, languages.User(l) ? 1 : 0);
        PutText(out, languages.Name(l));
    }
}

std::int64_t Field(const LanguageTotal& t, int i) {
    switch (i) {
        case 0: return t.files;
        case 1: return t.counts.ii;
        case 2: return t.counts.inoc;
        case 3: return t.counts.inoml;
        case 4: return t.counts.inos;
        default: return t.counts.nl3;
    }
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
    bool Get(vcs::BlobId& id) {
        if (m_bytes.size() - m_at < id.size()) return false;
        std::memcpy(id.data(), m_bytes.data() + m_at, id.size());
        m_at += id.size();
        return true;
    }
    bool Number(std::int64_t& value) {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_at == m_bytes.size()) return false;
            const auto byte = static_cast<unsigned char>(m_bytes[m_at++]);
            v |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) {
                value = static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
                return true;
            }
        }
        return false;
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
    std::size_t left() const { return m_bytes.size() - m_at; }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

// What a section of ours holds, with its language numbers already this run's.
struct Loaded {
    BlobMemo counts;
    std::vector<std::pair<vcs::BlobId, std::uint16_t>> lines;  // kNoLanguage: the line names none
    PointStore points;
};

// Reads one section after its kind; `numbers` is filled only for a section that is `mine`. Returns the
// reason it is damaged, or nullptr.
const char* ReadSection(Reader& r, std::uint8_t kind, bool mine, HistoryLanguages& languages, Loaded& loaded) {
    std::uint32_t languageCount = 0;
    if (!r.Get(languageCount)) return "a section is cut short";
    std::vector<std::uint16_t> numbers;
    for (std::uint32_t l = 0; l < languageCount; ++l) {
        std::uint8_t user = 0;
        std::string_view name;
        if (!r.Get(user) || !r.Text(name)) return "a language is cut short";
        if (mine) numbers.push_back(languages.Intern(std::string(name), user != 0));
    }
    std::uint64_t count = 0;
    if (kind == kBlobSection) {
        if (!r.Get(count) || count > r.left() / kCacheEntryBytes) return "a section's entries are cut short";
        if (!mine) r.Skip(count * kCacheEntryBytes);
        for (std::uint64_t e = 0; mine && e < count; ++e) {
            vcs::BlobId blob;
            std::uint16_t language = 0;
            std::uint32_t c[5] = {};
            r.Get(blob);
            r.Get(language);
            for (std::uint32_t& n : c) r.Get(n);
            if (language >= numbers.size()) return "an entry names no language";
            bool added = false;
            MemoEntry& entry = loaded.counts.Find(blob, numbers[language], added);
            loaded.counts.Store(entry, {c[0], c[1], c[2], c[3], c[4]});
        }
        if (!r.Get(count) || count > r.left() / kCacheLineEntryBytes) return "a section's entries are cut short";
        if (!mine) r.Skip(count * kCacheLineEntryBytes);
        for (std::uint64_t e = 0; mine && e < count; ++e) {
            vcs::BlobId blob;
            std::uint16_t language = 0;
            r.Get(blob);
            r.Get(language);
            if (language != kNoLanguage && language >= numbers.size()) return "an entry names no language";
            loaded.lines.emplace_back(blob, language == kNoLanguage ? kNoLanguage : numbers[language]);
        }
        return nullptr;
    }
    if (!r.Get(count) || count > r.left() / kPointBytes) return "a section's points are cut short";
    if (mine) loaded.points.Reserve(count);
    PointTotals totals;
    for (std::uint64_t p = 0; p < count; ++p) {
        vcs::BlobId commit;
        std::uint16_t changed = 0;
        if (!r.Get(commit) || !r.Get(changed)) return "a point is cut short";
        for (std::uint16_t c = 0; c < changed; ++c) {
            std::uint16_t language = 0;
            std::int64_t v[6] = {};
            if (!r.Get(language)) return "a point is cut short";
            for (std::int64_t& n : v)
                if (!r.Number(n)) return "a point is cut short";
            if (language >= languageCount) return "a point names no language";
            if (!mine) continue;
            const std::uint16_t number = numbers[language];
            if (totals.size() <= number) totals.resize(number + 1u);
            totals[number] = {v[0], {v[1], v[2], v[3], v[4], v[5]}};
        }
        if (mine) loaded.points.Add(commit, totals);
    }
    return nullptr;
}

}  // namespace

HistoryCache::Load HistoryCache::Read(const std::string& path, const HistoryCacheKeys& keys,
                                      HistoryLanguages& languages, HistoryMemo& memo, PointStore& points,
                                      std::string& reason) {
    m_otherSections.clear();
    std::string bytes;
    switch (sources::ReadRegularFile(path, bytes)) {
        case sources::ReadStatus::Ok:
            break;
        case sources::ReadStatus::Missing:
            return Load::Missing;
        case sources::ReadStatus::NotRegular:
            return Load::NotACache;
        case sources::ReadStatus::Unreadable:
        case sources::ReadStatus::TooLarge:
            reason = "it cannot be read";
            return Load::Damaged;
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
    // Sections are read into a memo of their own first: a file found broken halfway adds nothing.
    Loaded loaded;
    bool haveCounts = false, havePoints = false;
    for (std::uint32_t s = 0; s < sections; ++s) {
        const std::size_t start = r.at();
        std::uint8_t kind = 0;
        std::string_view key;
        if (!r.Get(kind) || !r.Text(key)) return damaged("a section is cut short");
        if (kind != kBlobSection && kind != kPointSection) return damaged("a section is of no known kind");
        bool& have = kind == kBlobSection ? haveCounts : havePoints;
        const bool mine = !have && key == (kind == kBlobSection ? keys.blobCounts : keys.pointTotals);
        if (const char* why = ReadSection(r, kind, mine, languages, loaded)) return damaged(why);
        have = have || mine;
        if (!mine) m_otherSections.emplace_back(body.substr(start, r.at() - start));
    }
    if (r.at() != body.size()) return damaged("it holds more than its sections");
    for (std::size_t i = 0; i < loaded.counts.size(); ++i) {
        bool added = false;
        MemoEntry& entry = memo.counts.Find(loaded.counts[i].blob, loaded.counts[i].language, added);
        if (added) memo.counts.Store(entry, loaded.counts.Counts(loaded.counts[i]));
    }
    for (const auto& [blob, language] : loaded.lines) {
        LineLanguage line;
        if (language == kNoLanguage) {
            line.state = MemoEntry::State::NoLanguage;
        } else {
            line.counted = memo.counts.Lookup(blob, language);
            if (!line.counted || line.counted->state != MemoEntry::State::Counted) continue;  // its counts were not kept
            line.state = MemoEntry::State::Counted;
        }
        memo.lines.try_emplace(blob, line);
    }
    if (points.size() == 0) points = std::move(loaded.points);
    else
        for (std::size_t i = 0; i < loaded.points.size(); ++i) points.Add(loaded.points.Commit(i), loaded.points.Totals(i));
    return Load::Loaded;
}

std::string HistoryCache::Bytes(const HistoryCacheKeys& keys, const HistoryLanguages& languages,
                                const HistoryMemo& memo, const PointStore& points) const {
    std::string out(kMagic);
    Put<std::uint32_t>(out, kFormat);
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(m_otherSections.size() + 2));
    for (const std::string& section : m_otherSections) out += section;

    Put<std::uint8_t>(out, kBlobSection);
    PutText(out, keys.blobCounts);
    PutLanguages(out, languages);
    const BlobMemo& counts = memo.counts;
    const auto kept = [](const MemoEntry& e) { return e.state == MemoEntry::State::Counted && !e.large; };
    std::uint64_t entries = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) entries += kept(counts[i]);
    Put<std::uint64_t>(out, entries);
    out.reserve(out.size() + entries * kCacheEntryBytes + memo.lines.size() * kCacheLineEntryBytes + 8);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const MemoEntry& e = counts[i];
        if (!kept(e)) continue;
        out.append(reinterpret_cast<const char*>(e.blob.data()), e.blob.size());
        Put<std::uint16_t>(out, e.language);
        for (std::uint32_t c : {e.code, e.comment, e.mixed, e.blank, e.lines}) Put<std::uint32_t>(out, c);
    }
    // A blob's "#!" line is kept when it named no language, or with the entry of the language it named.
    const auto keptLine = [&](const LineLanguage& line) {
        return line.state == MemoEntry::State::NoLanguage || (line.state == MemoEntry::State::Counted && kept(*line.counted));
    };
    std::uint64_t lines = 0;
    for (const auto& [blob, line] : memo.lines) lines += keptLine(line);
    Put<std::uint64_t>(out, lines);
    for (const auto& [blob, line] : memo.lines) {
        if (!keptLine(line)) continue;
        out.append(reinterpret_cast<const char*>(blob.data()), blob.size());
        Put<std::uint16_t>(out, line.state == MemoEntry::State::Counted ? line.counted->language : kNoLanguage);
    }

    Put<std::uint8_t>(out, kPointSection);
    PutText(out, keys.pointTotals);
    PutLanguages(out, languages);
    Put<std::uint64_t>(out, points.size());
    PointTotals before;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const std::span<const LanguageTotal> totals = points.Totals(p);
        out.append(reinterpret_cast<const char*>(points.Commit(p).data()), points.Commit(p).size());
        const std::size_t countAt = out.size();
        Put<std::uint16_t>(out, 0);
        std::uint16_t changed = 0;
        const std::size_t languageCount = std::max(totals.size(), before.size());
        for (std::size_t l = 0; l < languageCount; ++l) {
            const LanguageTotal now = l < totals.size() ? totals[l] : LanguageTotal{};
            if (now == (l < before.size() ? before[l] : LanguageTotal{})) continue;
            Put<std::uint16_t>(out, static_cast<std::uint16_t>(l));
            for (int i = 0; i < 6; ++i) PutNumber(out, Field(now, i));
            ++changed;
        }
        out[countAt] = static_cast<char>(changed & 0xFF);
        out[countAt + 1] = static_cast<char>(changed >> 8);
        before.assign(totals.begin(), totals.end());
    }
    Put<std::uint64_t>(out, Checksum(out));
    return out;
}

bool HistoryCache::Write(const std::string& path, const HistoryCacheKeys& keys, const HistoryLanguages& languages,
                         const HistoryMemo& memo, const PointStore& points) const {
    return WriteFileAtomically(path, Bytes(keys, languages, memo, points));
}

}  // namespace kordel::history
