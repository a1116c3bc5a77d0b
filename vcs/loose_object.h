// Checking a loose git object before libgit2 reads it: libgit2 1.5.1 loops for ever inflating an
// object whose compressed data ends early, so kordelc inflates it first, to its end, in small pieces.
#pragma once

#include <filesystem>
#include <string>

namespace kordel::cli {

enum class LooseObject { NotLoose, Intact, Damaged };

/// Whether the loose object `hex` (40 hex digits) under `objectsFolder` ("…/.git/objects") is
/// whole: its data inflates to its end and to the size its header gives. NotLoose when there is no
/// such file (the object is packed, or missing): libgit2 then reads it as it does. Memory stays
/// constant whatever the object's size.
LooseObject CheckLooseObject(const std::filesystem::path& objectsFolder, const std::string& hex);

}  // namespace kordel::cli
