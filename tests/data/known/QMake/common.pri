# Shared settings of the Qt projects.
QT += core gui widgets
CONFIG += c++20 warn_on

INCLUDEPATH += $$PWD/engine  # the engine headers
TARGET = kordel

# Sources shared by every program
SOURCES += \
    $$PWD/engine/scan.cpp \
    $$PWD/engine/dispatch.cpp
