// Keys as texts: every part named and its length given, so that no two option sets read alike.
#include "cli/history_keys.h"

#include "engine/known_languages.h"
#include "kordel/version.h"

namespace kordel::cli {
namespace {

void Part(std::string& key, std::string_view name, std::string_view value) {
    key.append("; ").append(name).append(" ").append(std::to_string(value.size())).append(":").append(value);
}

void Part(std::string& key, std::string_view name, const std::vector<std::string>& values) {
    key.append("; ").append(name).append(" [").append(std::to_string(values.size())).append("]");
    for (const std::string& v : values) key.append(" ").append(std::to_string(v.size())).append(":").append(v);
}

// FNV-1a, with each text ended so that neighbouring fields cannot trade characters.
class Fingerprint {
public:
    void Add(std::string_view text) {
        for (unsigned char c : text) Byte(c);
        Byte(0xFF);
    }
    void Add(std::uint64_t n) {
        for (int i = 0; i < 8; ++i) Byte(static_cast<unsigned char>(n >> (8 * i)));
    }
    std::uint64_t value() const { return m_hash; }

private:
    void Byte(unsigned char c) { m_hash = (m_hash ^ c) * 0x100000001b3ull; }
    std::uint64_t m_hash = 0xcbf29ce484222325ull;
};

}  // namespace

std::uint64_t KnownTableFingerprint() {
    Fingerprint f;
    for (const engine::LanguageRow& row : engine::KnownLanguages()) {
        for (std::string_view text : {row.name, row.extensions, row.fileNames, row.interpreters, row.lineComments,
                                      row.startComments, row.builtin})
            f.Add(text);
        for (const engine::BlockRule& block : row.blocks) {
            f.Add(block.open);
            f.Add(block.close);
        }
        f.Add(row.nested ? 1 : 0);
        for (const engine::StringRule& s : row.strings) {
            f.Add(s.open);
            f.Add(s.close);
            f.Add(static_cast<std::uint64_t>(static_cast<unsigned char>(s.escape)) | (s.multiline ? 0x100u : 0u) |
                  (s.docstring ? 0x200u : 0u));
        }
    }
    return f.value();
}

std::string BlobCountsKey(const engine::CountOptions& options, const std::vector<userlang::UserLanguage>& userLanguages) {
    std::string key = std::string("kordelc ") + kVersion;
    Part(key, "mixed-as-both", std::to_string(options.cnoml));
    Part(key, "blank-in-block", std::to_string(options.cblib));
    Part(key, "fortran77", std::to_string(options.dotf));
    Part(key, "further languages", options.knownLanguages ? std::to_string(KnownTableFingerprint()) : "off");
    for (const userlang::UserLanguage& l : userLanguages)
        Part(key, "user language", {l.name, l.extensions, l.olcop, l.olfc, l.mlbcop, l.fcmlb, l.mlecop, l.olcswl});
    return key;
}

std::string PointTotalsKey(const std::string& blobCountsKey, const sources::FileFilters& filters, const Options& o) {
    std::string key = blobCountsKey;
    Part(key, "excluded folders", filters.excludedDirs);
    Part(key, "excluded", filters.excludeGlobs);
    Part(key, "included extensions", filters.includeExts);
    Part(key, "excluded extensions", filters.excludeExts);
    Part(key, "ignore files", filters.ignoreFiles ? "on" : "off");
    Part(key, "symbolic links", filters.followSymlinks ? "followed" : "not followed");
    Part(key, "maps", o.maps);
    Part(key, "included languages", o.includeLangs);
    Part(key, "excluded languages", o.excludeLangs);
    Part(key, "generated", o.skipGenerated ? "skipped" : "counted");
    Part(key, "vendored", o.skipVendored ? "skipped" : "counted");
    return key;
}

}  // namespace kordel::cli
