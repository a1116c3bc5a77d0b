// The private temporary file, over the exclusive creation of OutputFile.
#include "platform/temporary_file.h"

#include "platform/system.h"

namespace kordel::platform {

PrivateTemporaryFile::~PrivateTemporaryFile() {
    if (m_path.empty()) return;
    m_file.Close();
    RemoveFile(m_path);
}

bool PrivateTemporaryFile::Create(std::string_view prefix, std::string& error) {
    const std::string folder = TempFolder();
    if (folder.empty()) {
        error = "no temporary folder";
        return false;
    }
    const std::string separator = folder.back() == '/' || folder.back() == '\\' ? "" : "/";
    // A fresh random name per attempt: a name taken in between is passed over.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = TemporaryNameFor(folder + separator + std::string(prefix));
        if (m_file.Create(path)) {
            m_path = path;
            return true;
        }
        const std::string why = LastFileErrorText();
        if (!DoesFileExist(path)) {
            error = "cannot create a file in " + folder + ": " + why;
            return false;
        }
    }
    error = "cannot create a file in " + folder + ": every name tried was taken";
    return false;
}

bool PrivateTemporaryFile::Write(std::string_view bytes) { return m_file.Write(bytes); }

bool PrivateTemporaryFile::Close() { return m_file.Close(); }

}  // namespace kordel::platform
