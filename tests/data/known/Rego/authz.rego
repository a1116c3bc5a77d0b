# Allows a request when the user owns the file.
package files.authz

import rego.v1

default allow := false

allow if { # owners only
    input.method == "GET"
    input.path[0] == "files"
    input.user == data.owners[input.path[1]]
}

marker := "# not a comment"
pattern := `^#[a-z]+$`
help := `Usage:
# still the raw string`
    # indented comment
