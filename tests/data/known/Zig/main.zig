//! Counts the lines of the files named on the command line.
const std = @import("std");

/// Returns the number of line feeds in `text`.
fn countLines(text: []const u8) usize {
    var n: usize = 0; // running count
    for (text) |c| {
        if (c == '\n') n += 1;
    }
    return n;
}

pub fn main() !void {
    const marker = "// not a comment";
    const slash = '/'; // a character
    std.debug.print("{d} {s} {c}\n", .{ countLines("a\nb\n"), marker, slash });
    // done
}
