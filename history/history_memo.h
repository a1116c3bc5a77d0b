// The counts of each blob, once per language: what makes a history cost only the blobs that changed.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <unordered_map>
#include <vector>

#include "vcs/revision.h"
#include "engine/results.h"

namespace kordel::history {

/// One blob counted as one language. Counts only: 44 bytes.
struct MemoEntry {
    enum class State : std::uint8_t { Pending, Counted, Unreadable, NoLanguage };
    vcs::BlobId blob{};
    std::uint16_t language = 0;
    State state = State::Pending;
    bool large = false;  ///< a count above 2^32 - 1: the counts stand in the memo's side table
    std::uint32_t code = 0, comment = 0, mixed = 0, blank = 0, lines = 0;
};
static_assert(sizeof(MemoEntry) == 44);

/// Blob and language to counts. Entries never move, so a counting thread may fill one while others
/// are added; an index of 32-bit slots (at most three quarters full) finds them.
class BlobMemo {
public:
    /// The entry of `blob` counted as `language`; a new one (Pending) is made when there is none,
    /// and `added` says so.
    MemoEntry& Find(const vcs::BlobId& blob, std::uint16_t language, bool& added);
    /// The entry of `blob` counted as `language`, or nullptr; adds none.
    const MemoEntry* Lookup(const vcs::BlobId& blob, std::uint16_t language) const;

    /// Stores a blob's counts in its entry and marks it Counted (on the thread that adds entries).
    void Store(MemoEntry& entry, const engine::FileCounts& counts);
    /// The counts of a Counted entry.
    engine::FileCounts Counts(const MemoEntry& entry) const;

    std::size_t size() const { return m_entries.size(); }
    const MemoEntry& operator[](std::size_t i) const { return m_entries[i]; }
    /// Bytes held per entry on average now (entries and index).
    double BytesPerEntry() const;

private:
    std::size_t Slot(const vcs::BlobId& blob, std::uint16_t language) const;
    void Grow();

    std::deque<MemoEntry> m_entries;
    std::vector<std::uint32_t> m_index;  // entry number + 1; 0 is an empty slot
    std::map<const MemoEntry*, engine::FileCounts> m_large;
};

/// Blob ids are hashes already: their first bytes spread well.
struct BlobIdHash {
    std::size_t operator()(const vcs::BlobId& blob) const;
};

/// What the "#!" line of a blob that no table knows by its file's name made of it: Counted with the
/// entry that holds its counts, NoLanguage when the line names none, Unreadable, or Pending.
struct LineLanguage {
    MemoEntry::State state = MemoEntry::State::Pending;
    const MemoEntry* counted = nullptr;
};
/// Blob to what its "#!" line made of it. Elements stay put as others are added.
using LineMemo = std::unordered_map<vcs::BlobId, LineLanguage, BlobIdHash>;

}  // namespace kordel::history
