// The tree walk over open folders, the same on every system.
#include "platform/folders.h"

#include "platform/os.h"
#include "platform/paths.h"

namespace kordel::platform {
namespace {

struct Frame {
    std::string shown;
    std::string id;
    std::vector<std::string> subfolders;
    std::size_t next = 0;
};

}  // namespace

void WalkTree(std::string_view root, bool followLinks,
              const std::function<bool(const std::string& shown, const std::string& id)>& enter,
              const std::function<WalkStep(FolderEntry& entry, const std::string& shown, const Folder& folder)>& visit,
              std::vector<std::string>& unreadable, const FolderRead& heard) {
    Folder current;
    const std::string rootShown(root);
    const Folder::Status opened = current.Open(root);
    if (opened != Folder::Status::Opened) {
        if (opened != Folder::Status::Missing) unreadable.push_back(rootShown);
        return;
    }
    if (!enter(rootShown, current.Id())) return;
    const auto read = [&](const std::string& shown) {
        Frame frame{shown, current.Id(), {}, 0};
        std::vector<FolderEntry> entries;
        const bool complete = current.ReadEntries(entries, followLinks);
        if (!complete) unreadable.push_back(shown);
        if (heard) heard(shown, entries, complete);
        for (FolderEntry& entry : entries)
            if (visit(entry, JoinPath(shown, entry.name), current) == WalkStep::Enter)
                frame.subfolders.push_back(std::move(entry.name));
        return frame;
    };
    std::vector<Frame> stack;
    stack.push_back(read(rootShown));
    bool lost = false;  // the open folder is not the one on top of the stack
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (lost) {
            // Climbing back by ".." failed (a followed link, or a folder moved meanwhile): the
            // folder is opened again by its path, and must still be the same folder.
            Folder again;
            if (again.Open(top.shown) != Folder::Status::Opened || again.Id() != top.id) {
                unreadable.push_back(top.shown);
                stack.pop_back();
                continue;
            }
            current = std::move(again);
            lost = false;
        }
        if (top.next < top.subfolders.size()) {
            const std::string& name = top.subfolders[top.next++];
            const std::string shown = JoinPath(top.shown, name);
            Folder child;
            const Folder::Status status = child.OpenChild(current, name, followLinks);
            if (status != Folder::Status::Opened) {
                if (status != Folder::Status::Missing) unreadable.push_back(shown);
                continue;
            }
            if (!enter(shown, child.Id())) continue;
            current = std::move(child);
            stack.push_back(read(shown));
            continue;
        }
        stack.pop_back();
        if (stack.empty()) break;
        Folder parent;
        if (parent.OpenChild(current, "..", true) == Folder::Status::Opened && parent.Id() == stack.back().id)
            current = std::move(parent);
        else
            lost = true;
    }
}

}  // namespace kordel::platform
