# Builds the installer and signs it.
param(
    [string]$Configuration = 'Release'
)

<# A block comment

   over three lines. #>
$ErrorActionPreference = 'Stop'
$out = Join-Path $PSScriptRoot 'out' # the output folder
$hash = "not # a comment, `"quoted`" too"
$note = @"
Built on $(Get-Date) # inside a here-string
"@
$literal = @'
<# not a block comment #>
'@
& cmake --build $out --config $Configuration <# inline #>
Write-Host "Done: $out"
