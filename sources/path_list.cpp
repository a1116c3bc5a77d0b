// Path lists read in chunks with a bound on the line length, so that /dev/zero or a binary file ends
// the run with a message instead of growing without end.
#include "sources/path_list.h"

#include "platform/files.h"

namespace kordel::sources {
namespace {

// Splits chunks into lines; stops at the first line over the bound.
class LineSplitter {
public:
    LineSplitter(PathList& list, std::string name, const PathSink& onPath)
        : m_list(list), m_name(std::move(name)), m_onPath(onPath) {}

    bool Feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] == '\n') {
                if (!EndLine()) return false;
            } else if (m_line.size() == kMaxListLine) {
                m_list.ok = false;
                m_list.error = "\"" + m_name + "\" is not a list of paths: line " + std::to_string(m_number + 1) +
                               " is longer than " + std::to_string(kMaxListLine) + " bytes.";
                return false;
            } else {
                m_line += data[i];
            }
        }
        return true;
    }
    void Finish() {
        if (!m_line.empty()) EndLine();
    }

private:
    bool EndLine() {
        ++m_number;
        if (!m_line.empty() && m_line.back() == '\r') m_line.pop_back();
        if (!m_line.empty() && !m_onPath(m_line)) m_stopped = true;
        m_line.clear();
        return !m_stopped;
    }

    PathList& m_list;
    std::string m_name;
    const PathSink& m_onPath;
    std::string m_line;
    std::size_t m_number = 0;
    bool m_stopped = false;
};

PathList Refused(const std::string& message) {
    PathList list;
    list.ok = false;
    list.error = message;
    return list;
}

}  // namespace

PathList ReadPathList(std::istream& in, const PathSink& onPath, const std::string& name) {
    PathList list;
    LineSplitter splitter(list, name, onPath);
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        if (!splitter.Feed(buffer, static_cast<std::size_t>(in.gcount()))) return list;
    }
    splitter.Finish();
    return list;
}

PathList ReadPathListFile(const std::string& path, const PathSink& onPath) {
    platform::InputFile file;
    switch (file.OpenFileOrPipe(path)) {
        case platform::InputFile::Status::Opened: break;
        case platform::InputFile::Status::Folder: return Refused("\"" + path + "\" is a folder, not a list of paths.");
        case platform::InputFile::Status::NotRegular:
            return Refused("\"" + path + "\" is not a list of paths (neither a file nor a pipe).");
        case platform::InputFile::Status::Missing:
        case platform::InputFile::Status::Failed: return Refused("Could not open \"" + path + "\" for reading.");
    }
    PathList list;
    LineSplitter splitter(list, path, onPath);
    char buffer[64 * 1024];
    for (;;) {
        const std::ptrdiff_t got = file.Read(buffer, sizeof buffer);
        if (got < 0) return Refused("Could not read \"" + path + "\": " + platform::LastFileErrorText());
        if (got == 0) {
            splitter.Finish();
            return list;
        }
        if (!splitter.Feed(buffer, static_cast<std::size_t>(got))) return list;
    }
}

}  // namespace kordel::sources
