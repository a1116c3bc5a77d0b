// --ignored: every file a run leaves out, with its reason, written as it is met.
#pragma once

#include <memory>
#include <string>

#include "common/atomic_file.h"

namespace kordel::outputs {

/// One line per file or folder: its path, a tab and the reason, with CR LF. Control bytes and bytes that
/// are not UTF-8 in a path are written as \xNN, so that a name cannot break its line.
class IgnoredList {
public:
    /// Starts the file (atomically: it replaces `path` at Commit); false when it cannot be created.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_file != nullptr; }
    void Add(const std::string& path, const std::string& reason);
    bool Commit();

private:
    std::unique_ptr<AtomicFileWriter> m_file;
};

}  // namespace kordel::outputs
