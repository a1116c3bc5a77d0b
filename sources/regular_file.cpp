// A whole regular file read through the platform's open-then-check file.
#include "sources/regular_file.h"

#include "platform/files.h"

namespace kordel::sources {

ReadStatus ReadRegularFile(const std::string& path, std::string& bytes, std::uint64_t maxSize) {
    bytes.clear();
    platform::InputFile file;
    switch (file.Open(path)) {
    case platform::InputFile::Status::Opened: break;
    case platform::InputFile::Status::Missing: return ReadStatus::Missing;
    case platform::InputFile::Status::Folder:
    case platform::InputFile::Status::NotRegular: return ReadStatus::NotRegular;
    case platform::InputFile::Status::Failed: return ReadStatus::Unreadable;
    }
    if (maxSize > 0 && file.Size() > maxSize) return ReadStatus::TooLarge;
    // As the counter does, the file is read up to the size it had when it was opened.
    bytes.resize(static_cast<std::size_t>(file.Size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t got = file.Read(bytes.data() + done, bytes.size() - done);
        if (got < 0) return ReadStatus::Unreadable;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return ReadStatus::Ok;
}

}  // namespace kordel::sources
