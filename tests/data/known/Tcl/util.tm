# Helpers of the build scripts.
package provide kordel::util 1.0

namespace eval ::kordel::util {
    namespace export total
}

# Sums the code column of the rows.
proc ::kordel::util::total {rows} {
    set sum 0 ;# running sum
    foreach row $rows {
        incr sum [dict get $row code]
    }
    puts "total # not a comment"
    return $sum
}
