// File operations that fail on purpose: at the open, at the k-th write or at every one, at the close
// or at the rename.
#pragma once

#include <filesystem>
#include <string_view>

#include "common/atomic_file.h"

namespace test_support {

enum class FailAt { Nothing, Open, Write, Close, Rename, EveryWrite };

/// Passes every operation to the real file system except the one chosen to fail.
class FaultyFileOps final : public kordel::FileOps {
public:
    explicit FaultyFileOps(FailAt at = FailAt::Nothing, int k = 1) : m_at(at), m_k(k) {}

    int writes = 0;  ///< writes attempted so far

    bool Open(const std::filesystem::path& path) override {
        if (m_at == FailAt::Open) return false;
        return real().Open(path);
    }
    bool Write(std::string_view bytes) override {
        ++writes;
        if (m_at == FailAt::EveryWrite || (m_at == FailAt::Write && writes == m_k)) {
            // A short write: half the piece reaches the disk before the failure, as on a full disk.
            real().Write(bytes.substr(0, bytes.size() / 2));
            return false;
        }
        return real().Write(bytes);
    }
    bool Close() override {
        const bool ok = real().Close();
        return m_at == FailAt::Close ? false : ok;
    }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (m_at == FailAt::Rename) return false;
        return real().Rename(from, to);
    }
    void Remove(const std::filesystem::path& path) override { real().Remove(path); }

private:
    static kordel::FileOps& real() { return kordel::RealFileOps(); }
    FailAt m_at;
    int m_k;
};

}  // namespace test_support
