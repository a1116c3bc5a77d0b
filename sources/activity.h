// What the walks and the counts report while they run: the command shows it as its progress line.
#pragma once

#include <cstddef>
#include <string>

namespace kordel::sources {

/// Hears of a run's progress and of the errors that stop part of it.
class Activity {
public:
    virtual ~Activity() = default;
    /// A folder walk found `found` files so far and is in `folder`.
    virtual void Walking(std::size_t found, const std::string& folder) = 0;
    /// `done` of `total` files are counted; the next is in `folder`.
    virtual void Counting(std::size_t done, std::size_t total, const std::string& folder) = 0;
    /// An error, shown even when nothing else is.
    virtual void Error(const std::string& message) = 0;
};

}  // namespace kordel::sources
