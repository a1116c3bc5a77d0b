-- Shows a notification with the date.
set today to current date

(* Block comments in AppleScript
   (* nest *)

   and end here. *)
set msg to "Today -- " & (date string of today)
display notification msg with title "Demo" -- shown top right
# a comment with a hash

tell application "Finder"
    set n to count of windows (* open ones *)
end tell
