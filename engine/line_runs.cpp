// A single pass over the read buffer finds each line's end and whether it holds a byte that needs a closer look.
#include "engine/line_runs.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
// AVX2 is chosen at run time, so that the program still runs on any x86-64.
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define KORDEL_SCAN_AVX2 1
#endif

namespace kordel::engine {
namespace {

constexpr char kCtrlZ = 0x1A;

// Bytes looked at in one step: bit i of each mask tells about byte i.
constexpr std::size_t kBlock = 64;

struct Masks {
    std::uint64_t lf = 0;    // line feeds
    std::uint64_t stop = 0;  // CR, Ctrl-Z and NUL: the reader must handle such a line
    std::uint64_t hit = 0;   // bytes of the classifier's set
    std::uint64_t text = 0;  // bytes other than space and tab
};

// The masks of the first n bytes (n <= 64) of the `avail` bytes at p, byte by byte.
template <unsigned S, unsigned P>
Masks ByteMasks(const QuietLines& quiet, const char* p, std::size_t n, std::size_t avail) {
    Masks m;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = p[i];
        const std::uint64_t bit = std::uint64_t{1} << i;
        if (c == '\n') m.lf |= bit;
        if (c == '\r' || c == kCtrlZ || c == '\0') m.stop |= bit;
        if (c != ' ' && c != '\t') m.text |= bit;
        for (unsigned k = 0; k < S; ++k)
            if (c == quiet.single[k]) m.hit |= bit;
        // A pair cut by the end of the data belongs to no whole line here.
        for (unsigned k = 0; k < P; ++k)
            if (c == quiet.pair[k][0] && i + 1 < avail && p[i + 1] == quiet.pair[k][1]) m.hit |= bit;
    }
    return m;
}

// The scans for S single bytes and P byte pairs (fixed, so that the compares are unrolled and stay in
// registers). Each answers the masks of a whole block, reading kReach bytes (a pair is looked for
// with a second load one byte further on), and of the last bytes of the data.
template <unsigned S, unsigned P>
class ByteBlocks {
public:
    static constexpr std::size_t kReach = P > 0 ? kBlock + 1 : kBlock;
    explicit ByteBlocks(const QuietLines& quiet) : m_quiet(quiet) {}
    Masks Block(const char* p) const { return ByteMasks<S, P>(m_quiet, p, kBlock, kReach); }
    Masks Tail(const char* p, std::size_t n) const { return ByteMasks<S, P>(m_quiet, p, n, n); }

private:
    const QuietLines& m_quiet;
};

// The last n < kReach bytes through a whole block on a zero-padded copy: cheaper than byte by byte.
// The padding changes nothing: its zero bytes are stop bytes, which end the scan where the data ends
// anyway, and a pair matched against it lies in the last line, which has no LF here.
template <class Blocks>
inline __attribute__((always_inline)) Masks PaddedTail(const Blocks& blocks, const char* p, std::size_t n) {
    char copy[kBlock + 1] = {};
    std::memcpy(copy, p, n);
    return blocks.Block(copy);
}

#ifdef __SSE2__
template <unsigned S, unsigned P>
class Sse2Blocks {
public:
    static constexpr std::size_t kReach = P > 0 ? kBlock + 1 : kBlock;

    explicit Sse2Blocks(const QuietLines& quiet) {
        for (unsigned i = 0; i < S; ++i) m_single[i] = _mm_set1_epi8(quiet.single[i]);
        for (unsigned i = 0; i < P; ++i) {
            m_first[i] = _mm_set1_epi8(quiet.pair[i][0]);
            m_second[i] = _mm_set1_epi8(quiet.pair[i][1]);
        }
    }

    Masks Block(const char* p) const {
        Masks m;
        for (unsigned k = 0; k < kBlock / 16; ++k) {
            const char* q = p + 16 * k;
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
            const __m128i lf = _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'));
            const __m128i stop = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                                           _mm_cmpeq_epi8(v, _mm_set1_epi8(kCtrlZ))),
                                              _mm_cmpeq_epi8(v, _mm_setzero_si128()));
            __m128i hit = _mm_setzero_si128();
            for (unsigned i = 0; i < S; ++i) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, m_single[i]));
            if constexpr (P > 0) {
                const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 1));
                for (unsigned i = 0; i < P; ++i)
                    hit = _mm_or_si128(hit,
                                       _mm_and_si128(_mm_cmpeq_epi8(v, m_first[i]), _mm_cmpeq_epi8(next, m_second[i])));
            }
            const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
            const unsigned shift = 16 * k;
            m.lf |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(lf))} << shift;
            m.stop |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(stop))} << shift;
            m.hit |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit))} << shift;
            m.text |= std::uint64_t{static_cast<std::uint16_t>(~_mm_movemask_epi8(blank))} << shift;
        }
        return m;
    }

    Masks Tail(const char* p, std::size_t n) const { return PaddedTail(*this, p, n); }

private:
    __m128i m_single[S > 0 ? S : 1];
    __m128i m_first[P > 0 ? P : 1];
    __m128i m_second[P > 0 ? P : 1];
};
#endif

#ifdef KORDEL_SCAN_AVX2
template <unsigned S, unsigned P>
class Avx2Blocks {
public:
    static constexpr std::size_t kReach = P > 0 ? kBlock + 1 : kBlock;

    __attribute__((target("avx2"))) explicit Avx2Blocks(const QuietLines& quiet) {
        for (unsigned i = 0; i < S; ++i) m_single[i] = _mm256_set1_epi8(quiet.single[i]);
        for (unsigned i = 0; i < P; ++i) {
            m_first[i] = _mm256_set1_epi8(quiet.pair[i][0]);
            m_second[i] = _mm256_set1_epi8(quiet.pair[i][1]);
        }
    }

    __attribute__((target("avx2"))) Masks Block(const char* p) const {
        Masks m;
        for (unsigned k = 0; k < kBlock / 32; ++k) {
            const char* q = p + 32 * k;
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q));
            const __m256i lf = _mm256_cmpeq_epi8(v, _mm256_set1_epi8('\n'));
            const __m256i stop = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8('\r')),
                                                                 _mm256_cmpeq_epi8(v, _mm256_set1_epi8(kCtrlZ))),
                                                 _mm256_cmpeq_epi8(v, _mm256_setzero_si256()));
            __m256i hit = _mm256_setzero_si256();
            for (unsigned i = 0; i < S; ++i) hit = _mm256_or_si256(hit, _mm256_cmpeq_epi8(v, m_single[i]));
            if constexpr (P > 0) {
                const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 1));
                for (unsigned i = 0; i < P; ++i)
                    hit = _mm256_or_si256(hit, _mm256_and_si256(_mm256_cmpeq_epi8(v, m_first[i]),
                                                                _mm256_cmpeq_epi8(next, m_second[i])));
            }
            const __m256i blank =
                _mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(' ')), _mm256_cmpeq_epi8(v, _mm256_set1_epi8('\t')));
            const unsigned shift = 32 * k;
            m.lf |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(lf))} << shift;
            m.stop |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(stop))} << shift;
            m.hit |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hit))} << shift;
            m.text |= std::uint64_t{~static_cast<std::uint32_t>(_mm256_movemask_epi8(blank))} << shift;
        }
        return m;
    }

    __attribute__((target("avx2"))) Masks Tail(const char* p, std::size_t n) const {
        return PaddedTail(*this, p, n);
    }

private:
    __m256i m_single[S > 0 ? S : 1];
    __m256i m_first[P > 0 ? P : 1];
    __m256i m_second[P > 0 ? P : 1];
};
#endif

// A quiet line: `hasText` when it holds a byte other than space and tab, `empty` when it is only its LF.
inline __attribute__((always_inline)) void ClassifyQuiet(QuietLines::Kind kind, bool hasText, bool empty, Tally& tally) {
    switch (kind) {
        case QuietLines::Kind::Plain: hasText ? tally.Code() : tally.Blank(); return;
        case QuietLines::Kind::Comment: tally.Comment(); return;
        case QuietLines::Kind::CommentUnlessEmpty: empty ? tally.Blank() : tally.Comment(); return;
        case QuietLines::Kind::None: return;  // never quiet
    }
}

// Classifies lines from `start` while the classifier's quiet lines stay `quiet`; answers where it
// stopped and whether it stopped because that state changed. Always inlined into a function per
// instruction set, so that the blocks' compares are compiled for it.
template <class Blocks>
inline __attribute__((always_inline)) std::size_t ScanWith(const char* base, std::size_t size, std::size_t start,
                                                           const QuietLines& quiet, LineClassifier& classifier,
                                                           Tally& tally, FileCounts& counts, bool& changed) {
    const Blocks blocks(quiet);
    const QuietLines::Kind kind = quiet.kind;
    // What the current line holds in earlier blocks: a byte of the set, a byte other than space and tab.
    bool hitSeen = false;
    bool textSeen = false;
    for (std::size_t i = start; i < size; i += kBlock) {
        const Masks m = size - i >= Blocks::kReach ? blocks.Block(base + i) : blocks.Tail(base + i, size - i);
        // Those not yet in a finished line.
        std::uint64_t hits = m.hit;
        std::uint64_t texts = m.text;
        std::uint64_t ends = m.lf | m.stop;
        while (ends) {
            const unsigned b = static_cast<unsigned>(__builtin_ctzll(ends));
            ends &= ends - 1;
            const std::uint64_t bit = std::uint64_t{1} << b;
            if (m.stop & bit) return start;
            // A line [start, at] ends here; longer lines are cut into pieces by the reader.
            const std::size_t at = i + b;
            if (at - start >= kMaxPiece) return start;
            ++counts.nl3;
            const std::uint64_t before = bit - 1;
            if (kind != QuietLines::Kind::None && !hitSeen && !(hits & before)) {
                ClassifyQuiet(kind, textSeen || (texts & before) != 0, at == start, tally);
            } else {
                classifier.Classify(std::string_view(base + start, at + 1 - start), tally);
                if (&classifier.Quiet() != &quiet) {
                    changed = true;
                    return at + 1;
                }
            }
            hits &= ~(bit | before);
            texts &= ~(bit | before);
            start = at + 1;
            hitSeen = false;
            textSeen = false;
        }
        hitSeen = hitSeen || hits != 0;
        textSeen = textSeen || texts != 0;
    }
    return start;
}

using ScanFunction = std::size_t (*)(const char*, std::size_t, std::size_t, const QuietLines&, LineClassifier&,
                                     Tally&, FileCounts&, bool&);
// Scan functions by count of single bytes and of pairs.
using ScanTable = std::array<std::array<ScanFunction, QuietLines::kMax + 1>, QuietLines::kMax + 1>;

template <unsigned S, unsigned P>
struct BytesScan {
    static std::size_t Run(const char* base, std::size_t size, std::size_t start, const QuietLines& quiet,
                           LineClassifier& classifier, Tally& tally, FileCounts& counts, bool& changed) {
        return ScanWith<ByteBlocks<S, P>>(base, size, start, quiet, classifier, tally, counts, changed);
    }
};

#ifdef __SSE2__
template <unsigned S, unsigned P>
struct Sse2Scan {
    static std::size_t Run(const char* base, std::size_t size, std::size_t start, const QuietLines& quiet,
                           LineClassifier& classifier, Tally& tally, FileCounts& counts, bool& changed) {
        return ScanWith<Sse2Blocks<S, P>>(base, size, start, quiet, classifier, tally, counts, changed);
    }
};
#endif

#ifdef KORDEL_SCAN_AVX2
template <unsigned S, unsigned P>
struct Avx2Scan {
    __attribute__((target("avx2"))) static std::size_t Run(const char* base, std::size_t size, std::size_t start,
                                                           const QuietLines& quiet, LineClassifier& classifier,
                                                           Tally& tally, FileCounts& counts, bool& changed) {
        return ScanWith<Avx2Blocks<S, P>>(base, size, start, quiet, classifier, tally, counts, changed);
    }
};
#endif

template <template <unsigned, unsigned> class Scan, unsigned S, unsigned... P>
constexpr std::array<ScanFunction, sizeof...(P)> ScansFor(std::integer_sequence<unsigned, P...>) {
    return {&Scan<S, P>::Run...};
}

template <template <unsigned, unsigned> class Scan, unsigned... S>
constexpr ScanTable AllScans(std::integer_sequence<unsigned, S...>) {
    return {ScansFor<Scan, S>(std::make_integer_sequence<unsigned, QuietLines::kMax + 1>())...};
}

// Scan<S, P>::Run for every count of single bytes and pairs a set can hold.
template <template <unsigned, unsigned> class Scan>
constexpr ScanTable kScans = AllScans<Scan>(std::make_integer_sequence<unsigned, QuietLines::kMax + 1>());

const ScanTable* TableFor(BufferScan scan) {
    switch (scan) {
        case BufferScan::Bytes: return &kScans<BytesScan>;
        case BufferScan::Sse2:
#ifdef __SSE2__
            return &kScans<Sse2Scan>;
#else
            return nullptr;
#endif
        case BufferScan::Avx2:
#ifdef KORDEL_SCAN_AVX2
            __builtin_cpu_init();  // this may run before the constructor that sets up __builtin_cpu_supports
            return __builtin_cpu_supports("avx2") ? &kScans<Avx2Scan> : nullptr;
#else
            return nullptr;
#endif
    }
    return nullptr;
}

const ScanTable& WidestTable() {
    for (const BufferScan scan : {BufferScan::Avx2, BufferScan::Sse2})
        if (const ScanTable* table = TableFor(scan)) return *table;
    return kScans<BytesScan>;
}

// Chosen once: the widest scan this processor runs.
const ScanTable& kWidest = WidestTable();

std::size_t ClassifyRunIn(const ScanTable& scans, std::string_view data, LineClassifier& classifier, Tally& tally,
                          FileCounts& counts) {
    std::size_t start = 0;
    for (;;) {
        const QuietLines& quiet = classifier.Quiet();
        bool changed = false;
        start = scans[quiet.singles][quiet.pairs](data.data(), data.size(), start, quiet, classifier, tally, counts,
                                                 changed);
        if (!changed) return start;
    }
}

}  // namespace

bool CanRun(BufferScan scan) { return TableFor(scan) != nullptr; }

std::size_t ClassifyRunWith(BufferScan scan, std::string_view data, LineClassifier& classifier, Tally& tally,
                            FileCounts& counts) {
    return ClassifyRunIn(*TableFor(scan), data, classifier, tally, counts);
}

std::size_t ClassifyRun(std::string_view data, LineClassifier& classifier, Tally& tally, FileCounts& counts) {
    return ClassifyRunIn(kWidest, data, classifier, tally, counts);
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
