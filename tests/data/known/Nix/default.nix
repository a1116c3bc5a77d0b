# Builds kordelc from this checkout.
{ pkgs ? import <nixpkgs> { } }:

/* The package; the version

   follows the CMake project. */
pkgs.stdenv.mkDerivation {
  pname = "kordelc";
  version = "1.4.0"; # keep in step
  src = ./.;
  homepage = "https://example.org/#not-a-comment";
  postInstall = ''
    # a shell comment, but a string to Nix
    install -Dm644 kordelc.1 $out/share/man/man1/kordelc.1
  '';
  nativeBuildInputs = [ pkgs.cmake ];
} /* end */
