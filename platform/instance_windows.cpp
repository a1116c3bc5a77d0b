// One copy per user on Windows: the Win32 program keeps its own; these serve builds that link them.
#include "platform/instance.h"

#include "platform/system.h"

namespace kordel::platform {

// A user's profile folders are the user's own by their access rules.
bool IsPrivateFolder(std::string_view folder) { return !folder.empty(); }

std::string PrivateTemporaryFolder(std::string_view) { return TempFolder(); }

InstanceLock::~InstanceLock() = default;

InstanceLock::Status InstanceLock::Take(std::string_view) { return Status::Unusable; }

// Local sockets are named pipes there, open to their creator's session only.
bool PeerIsSameUser(std::intptr_t socket) { return socket >= 0; }

}  // namespace kordel::platform
