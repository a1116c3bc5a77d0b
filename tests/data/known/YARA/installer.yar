// Finds files that look like installers.
import "pe"

/* The rule matches the NSIS

   header and one marker string. */
rule looks_like_installer
{
    strings:
        $nsis = "Nullsoft" // the header
        $marker = "// not a comment"
    condition:
        pe.is_pe and all of them
}
