// An open-addressing index over a deque of compact entries: no node per blob.
#include "history/history_memo.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace kordel::history {
namespace {

// Blob ids are hashes already: their first bytes spread well.
std::size_t HashOf(const vcs::BlobId& blob, std::uint16_t language) {
    std::uint64_t h;
    std::memcpy(&h, blob.data(), sizeof h);
    return static_cast<std::size_t>(h ^ (static_cast<std::uint64_t>(language) * 0x9E3779B97F4A7C15ull));
}

bool Fits(std::int64_t n) { return n >= 0 && n <= std::numeric_limits<std::uint32_t>::max(); }

}  // namespace

std::size_t BlobIdHash::operator()(const vcs::BlobId& blob) const {
    std::size_t h;
    std::memcpy(&h, blob.data(), sizeof h);
    return h;
}

std::size_t BlobMemo::Slot(const vcs::BlobId& blob, std::uint16_t language) const {
    const std::size_t mask = m_index.size() - 1;
    std::size_t slot = HashOf(blob, language) & mask;
    while (m_index[slot] != 0) {
        const MemoEntry& e = m_entries[m_index[slot] - 1];
        if (e.language == language && e.blob == blob) break;
        slot = (slot + 1) & mask;
    }
    return slot;
}

void BlobMemo::Grow() {
    std::vector<std::uint32_t> old = std::move(m_index);
    m_index.assign(old.empty() ? 1024 : old.size() * 2, 0);
    for (std::uint32_t number : old)
        if (number != 0) m_index[Slot(m_entries[number - 1].blob, m_entries[number - 1].language)] = number;
}

const MemoEntry* BlobMemo::Lookup(const vcs::BlobId& blob, std::uint16_t language) const {
    if (m_index.empty()) return nullptr;
    const std::uint32_t number = m_index[Slot(blob, language)];
    return number == 0 ? nullptr : &m_entries[number - 1];
}

MemoEntry& BlobMemo::Find(const vcs::BlobId& blob, std::uint16_t language, bool& added) {
    if ((m_entries.size() + 1) * 4 > m_index.size() * 3) Grow();
    const std::size_t slot = Slot(blob, language);
    added = m_index[slot] == 0;
    if (!added) return m_entries[m_index[slot] - 1];
    if (m_entries.size() >= std::numeric_limits<std::uint32_t>::max() - 1)
        throw std::length_error("too many blobs for the history's memo");
    MemoEntry& entry = m_entries.emplace_back();
    entry.blob = blob;
    entry.language = language;
    m_index[slot] = static_cast<std::uint32_t>(m_entries.size());
    return entry;
}

void BlobMemo::Store(MemoEntry& entry, const engine::FileCounts& counts) {
    entry.large = !(Fits(counts.ii) && Fits(counts.inoc) && Fits(counts.inoml) && Fits(counts.inos) && Fits(counts.nl3));
    if (entry.large) {
        m_large[&entry] = counts;
    } else {
        entry.code = static_cast<std::uint32_t>(counts.ii);
        entry.comment = static_cast<std::uint32_t>(counts.inoc);
        entry.mixed = static_cast<std::uint32_t>(counts.inoml);
        entry.blank = static_cast<std::uint32_t>(counts.inos);
        entry.lines = static_cast<std::uint32_t>(counts.nl3);
    }
    entry.state = MemoEntry::State::Counted;
}

engine::FileCounts BlobMemo::Counts(const MemoEntry& entry) const {
    if (entry.large) return m_large.at(&entry);
    return {entry.code, entry.comment, entry.mixed, entry.blank, entry.lines};
}

double BlobMemo::BytesPerEntry() const {
    if (m_entries.empty()) return 0;
    return static_cast<double>(sizeof(MemoEntry)) +
           static_cast<double>(m_index.size() * sizeof(std::uint32_t)) / static_cast<double>(m_entries.size());
}

}  // namespace kordel::history
