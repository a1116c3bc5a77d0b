// A single pass over the read buffer finds each line's end and its first byte that needs a closer look.
#include "engine/line_runs.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kordel::engine {
namespace {

constexpr char kCtrlZ = 0x1A;

// Bit i of each mask tells about byte i of a block of up to 16 bytes.
struct Masks {
    std::uint32_t lf = 0;    // line feeds
    std::uint32_t stop = 0;  // CR, Ctrl-Z and NUL: the reader must handle such a line
    std::uint32_t hit = 0;   // bytes of the classifier's set
};

// Scans for S single bytes and P byte pairs (fixed, so that the compares are unrolled and stay in
// registers). A pair is looked for with a second load one byte further on.
template <unsigned S, unsigned P>
class Scanner {
public:
    explicit Scanner(const QuietLines& quiet) : m_quiet(quiet) {
#ifdef __SSE2__
        for (unsigned i = 0; i < S; ++i) m_single[i] = _mm_set1_epi8(quiet.single[i]);
        for (unsigned i = 0; i < P; ++i) {
            m_first[i] = _mm_set1_epi8(quiet.pair[i][0]);
            m_second[i] = _mm_set1_epi8(quiet.pair[i][1]);
        }
#endif
    }

    /// Bytes a load of a block reads: one more when pairs are looked for.
    static constexpr std::size_t kReach = P > 0 ? 17 : 16;

    Masks Block16(const char* p) const {
#ifdef __SSE2__
        Masks m;
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i lf = _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'));
        const __m128i stop = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                                       _mm_cmpeq_epi8(v, _mm_set1_epi8(kCtrlZ))),
                                          _mm_cmpeq_epi8(v, _mm_setzero_si128()));
        __m128i hit = _mm_setzero_si128();
        for (unsigned i = 0; i < S; ++i) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, m_single[i]));
        if constexpr (P > 0) {
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            for (unsigned i = 0; i < P; ++i)
                hit = _mm_or_si128(hit, _mm_and_si128(_mm_cmpeq_epi8(v, m_first[i]), _mm_cmpeq_epi8(next, m_second[i])));
        }
        // Most blocks hold nothing of interest: one test answers for them.
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(lf, stop), hit)) == 0) return m;
        m.lf = static_cast<std::uint32_t>(_mm_movemask_epi8(lf));
        m.stop = static_cast<std::uint32_t>(_mm_movemask_epi8(stop));
        m.hit = static_cast<std::uint32_t>(_mm_movemask_epi8(hit));
        return m;
#else
        return Tail(p, 16, 17);
#endif
    }

    /// The masks of the first n bytes (n <= 16) of the `avail` bytes at p.
    Masks Tail(const char* p, std::size_t n, std::size_t avail) const {
        Masks m;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = p[i];
            const std::uint32_t bit = 1u << i;
            if (c == '\n') m.lf |= bit;
            if (c == '\r' || c == kCtrlZ || c == '\0') m.stop |= bit;
            for (unsigned k = 0; k < S; ++k)
                if (c == m_quiet.single[k]) m.hit |= bit;
            // A pair cut by the end of the data belongs to no whole line here.
            for (unsigned k = 0; k < P; ++k)
                if (c == m_quiet.pair[k][0] && i + 1 < avail && p[i + 1] == m_quiet.pair[k][1]) m.hit |= bit;
        }
        return m;
    }

private:
    const QuietLines& m_quiet;
#ifdef __SSE2__
    __m128i m_single[S > 0 ? S : 1];
    __m128i m_first[P > 0 ? P : 1];
    __m128i m_second[P > 0 ? P : 1];
#endif
};

inline bool OnlySpacesAndTabs(const char* p, const char* end) {
    while (p != end && (*p == ' ' || *p == '\t')) ++p;
    return p == end;
}

// A quiet line [begin, end) without its LF.
inline __attribute__((always_inline)) void ClassifyQuiet(QuietLines::Kind kind, const char* begin, const char* end, Tally& tally) {
    switch (kind) {
        case QuietLines::Kind::Plain: OnlySpacesAndTabs(begin, end) ? tally.Blank() : tally.Code(); return;
        case QuietLines::Kind::Comment: tally.Comment(); return;
        case QuietLines::Kind::CommentUnlessEmpty: begin == end ? tally.Blank() : tally.Comment(); return;
        case QuietLines::Kind::None: return;  // never quiet
    }
}

// Classifies lines from `start` while the classifier's quiet lines stay `quiet`; answers where it
// stopped and whether it stopped because that state changed.
template <unsigned S, unsigned P>
std::size_t Scan(const char* base, std::size_t size, std::size_t start, const QuietLines& quiet,
                 LineClassifier& classifier, Tally& tally, FileCounts& counts, bool& changed) {
    using Sc = Scanner<S, P>;
    const Sc scanner(quiet);
    const QuietLines::Kind kind = quiet.kind;
    bool hitSeen = false;  // the current line holds a byte of the set
    for (std::size_t i = start; i < size; i += 16) {
        const Masks m = i + Sc::kReach <= size ? scanner.Block16(base + i)
                                               : scanner.Tail(base + i, std::min<std::size_t>(16, size - i), size - i);
        std::uint32_t all = m.lf | m.stop | m.hit;
        while (all) {
            const unsigned b = static_cast<unsigned>(__builtin_ctz(all));
            all &= all - 1;
            const std::uint32_t bit = 1u << b;
            if (m.stop & bit) return start;
            if (!(m.lf & bit)) {
                hitSeen = true;
                continue;
            }
            // A line [start, at] ends here; longer lines are cut into pieces by the reader.
            const std::size_t at = i + b;
            if (at - start >= kMaxPiece) return start;
            ++counts.nl3;
            if (kind != QuietLines::Kind::None && !hitSeen) {
                ClassifyQuiet(kind, base + start, base + at, tally);
            } else {
                classifier.Classify(std::string_view(base + start, at + 1 - start), tally);
                if (&classifier.Quiet() != &quiet) {
                    changed = true;
                    return at + 1;
                }
            }
            start = at + 1;
            hitSeen = false;
        }
    }
    return start;
}

using ScanFunction = std::size_t (*)(const char*, std::size_t, std::size_t, const QuietLines&, LineClassifier&,
                                     Tally&, FileCounts&, bool&);

template <unsigned S, unsigned... P>
constexpr std::array<ScanFunction, sizeof...(P)> ScansFor(std::integer_sequence<unsigned, P...>) {
    return {&Scan<S, P>...};
}

template <unsigned... S>
constexpr std::array<std::array<ScanFunction, QuietLines::kMax + 1>, sizeof...(S)> AllScans(
    std::integer_sequence<unsigned, S...>) {
    return {ScansFor<S>(std::make_integer_sequence<unsigned, QuietLines::kMax + 1>())...};
}

// Scan<S, P> for every count of single bytes and pairs a set can hold.
constexpr auto kScans = AllScans(std::make_integer_sequence<unsigned, QuietLines::kMax + 1>());

}  // namespace

std::size_t ClassifyRun(std::string_view data, LineClassifier& classifier, Tally& tally, FileCounts& counts) {
    std::size_t start = 0;
    for (;;) {
        const QuietLines& quiet = classifier.Quiet();
        bool changed = false;
        start = kScans[quiet.singles][quiet.pairs](data.data(), data.size(), start, quiet, classifier, tally, counts,
                                                  changed);
        if (!changed) return start;
    }
}

bool CountLines(TextModeReader& reader, LineClassifier& classifier, FileCounts& counts, bool cnoml,
                const std::atomic<int>* canc) {
    Tally tally(counts, cnoml);
    std::string_view line;
    for (;;) {
        if (canc && !classifier.InBlock() && canc->load(std::memory_order_relaxed) == 1) return false;
        const std::string_view buffered = reader.Buffered();
        if (!buffered.empty()) {
            if (const std::size_t used = ClassifyRun(buffered, classifier, tally, counts)) {
                reader.Skip(used);
                continue;
            }
        }
        // A line with a CR, Ctrl-Z or NUL, an overlong one, or one that crosses the end of the buffer.
        if (!reader.NextLine(line)) break;
        ++counts.nl3;
        // Bytes behind a NUL are not seen by any search or blank test.
        if (const void* nul = std::memchr(line.data(), '\0', line.size()))
            line = line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
        classifier.Classify(line, tally);
    }
    return true;
}

}  // namespace kordel::engine
