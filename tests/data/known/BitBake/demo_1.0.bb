# Recipe of the demo tool.
SUMMARY = "Demo tool # with a hash"
LICENSE = "MIT"
LIC_FILES_CHKSUM = "file://LICENSE;md5=0835ade698e0bcf8506ecda2f7b4f302"

SRC_URI = "git://example.com/demo.git;branch=main"
SRCREV = "${AUTOREV}"  # latest

S = "${WORKDIR}/git"

# Installs the binary.
do_install() {
    install -d ${D}${bindir}
    install -m 0755 demo ${D}${bindir}
}
