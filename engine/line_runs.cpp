// A single pass over the read buffer finds each line's end and its first byte that needs a closer look.
#include "engine/line_runs.h"

#include <cstdint>
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

// Scans for the N bytes of a set (N fixed, so that the compares are unrolled and stay in registers).
template <unsigned N>
class Scanner {
public:
    explicit Scanner(const QuietLines& quiet) {
        for (unsigned i = 0; i < N; ++i) m_bytes[i] = quiet.bytes[i];
#ifdef __SSE2__
        for (unsigned i = 0; i < N; ++i) m_set[i] = _mm_set1_epi8(quiet.bytes[i]);
#endif
    }

    Masks Block16(const char* p) const {
#ifdef __SSE2__
        Masks m;
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i lf = _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'));
        const __m128i stop = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                                       _mm_cmpeq_epi8(v, _mm_set1_epi8(kCtrlZ))),
                                          _mm_cmpeq_epi8(v, _mm_setzero_si128()));
        __m128i hit = _mm_setzero_si128();
        if constexpr (N > 0) {
            hit = _mm_cmpeq_epi8(v, m_set[0]);
            for (unsigned i = 1; i < N; ++i) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, m_set[i]));
        }
        // Most blocks hold nothing of interest: one test answers for them.
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(lf, stop), hit)) == 0) return m;
        m.lf = static_cast<std::uint32_t>(_mm_movemask_epi8(lf));
        m.stop = static_cast<std::uint32_t>(_mm_movemask_epi8(stop));
        m.hit = static_cast<std::uint32_t>(_mm_movemask_epi8(hit));
        return m;
#else
        return Tail(p, 16);
#endif
    }

    Masks Tail(const char* p, std::size_t n) const {
        Masks m;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = p[i];
            const std::uint32_t bit = 1u << i;
            if (c == '\n') m.lf |= bit;
            if (c == '\r' || c == kCtrlZ || c == '\0') m.stop |= bit;
            for (unsigned k = 0; k < N; ++k)
                if (c == m_bytes[k]) m.hit |= bit;
        }
        return m;
    }

private:
    char m_bytes[N > 0 ? N : 1] = {};
#ifdef __SSE2__
    __m128i m_set[N > 0 ? N : 1];
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
template <unsigned N>
std::size_t Scan(const char* base, std::size_t size, std::size_t start, const QuietLines& quiet,
                 LineClassifier& classifier, Tally& tally, FileCounts& counts, bool& changed) {
    const Scanner<N> scanner(quiet);
    const QuietLines::Kind kind = quiet.kind;
    bool hitSeen = false;  // the current line holds a byte of the set
    for (std::size_t i = start; i < size; i += 16) {
        const Masks m = i + 16 <= size ? scanner.Block16(base + i) : scanner.Tail(base + i, size - i);
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

}  // namespace

std::size_t ClassifyRun(std::string_view data, LineClassifier& classifier, Tally& tally, FileCounts& counts) {
    std::size_t start = 0;
    for (;;) {
        const QuietLines& quiet = classifier.Quiet();
        bool changed = false;
        switch (quiet.count) {
            case 0: start = Scan<0>(data.data(), data.size(), start, quiet, classifier, tally, counts, changed); break;
            case 1: start = Scan<1>(data.data(), data.size(), start, quiet, classifier, tally, counts, changed); break;
            case 2: start = Scan<2>(data.data(), data.size(), start, quiet, classifier, tally, counts, changed); break;
            case 3: start = Scan<3>(data.data(), data.size(), start, quiet, classifier, tally, counts, changed); break;
            case 4: start = Scan<4>(data.data(), data.size(), start, quiet, classifier, tally, counts, changed); break;
            case 5: start = Scan<5>(data.data(), data.size(), start, quiet, classifier, tally, counts, changed); break;
            default: start = Scan<6>(data.data(), data.size(), start, quiet, classifier, tally, counts, changed); break;
        }
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
