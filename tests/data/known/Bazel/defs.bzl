# Macros of the demo workspace.
load("@rules_cc//cc:defs.bzl", "cc_library")

def demo_library(name, srcs, **kwargs):
    """Declares a library with the demo defaults.
    Every # in here is text.
    """
    cc_library(
        name = name,
        srcs = srcs,
        copts = ["-Wall"],  # warnings on
        visibility = ["//visibility:public"],
        **kwargs
    )
