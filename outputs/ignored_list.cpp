// The lines of --ignored.
#include "outputs/ignored_list.h"

#include "sources/text_bytes.h"

namespace kordel::outputs {

bool IgnoredList::Open(const std::string& path) {
    m_file = std::make_unique<AtomicFileWriter>();
    if (m_file->Open(path)) return true;
    m_file.reset();
    return false;
}

void IgnoredList::Add(const std::string& path, const std::string& reason) {
    if (m_file) m_file->Write(sources::EscapeForTerminal(path) + "\t" + sources::EscapeForTerminal(reason) + "\r\n");
}

bool IgnoredList::Commit() { return !m_file || m_file->Commit(); }

}  // namespace kordel::outputs
