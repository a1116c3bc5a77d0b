// A private temporary file: made where nobody can have prepared it, removed when it is done with.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace kordel::platform {

/// A new file in the temporary folder at a name nobody can predict, created exclusively (a file or a
/// link already there fails it) and readable and writable by its owner only; removed when this
/// object goes.
class PrivateTemporaryFile {
public:
    PrivateTemporaryFile() = default;
    PrivateTemporaryFile(const PrivateTemporaryFile&) = delete;
    PrivateTemporaryFile& operator=(const PrivateTemporaryFile&) = delete;
    ~PrivateTemporaryFile();

    /// Creates the file, its name starting with `prefix`; false with `error` saying why.
    bool Create(std::string_view prefix, std::string& error);
    /// Writes all of `bytes`; false on failure (LastFileErrorText() says why).
    bool Write(std::string_view bytes);
    /// Closes the file, which stays until this object goes; false on failure.
    bool Close();

    /// The file's path (UTF-8); empty before Create.
    const std::string& path() const { return m_path; }

private:
    OutputFile m_file;
    std::string m_path;
};

}  // namespace kordel::platform
