# Checks for the libraries the build needs.
dnl The macros below are shared by configure.ac.
AC_DEFUN([KORDEL_CHECK_LIBS], [
  AC_CHECK_LIB([m], [cos])dnl math library
  PKG_CHECK_MODULES([GIT2], [libgit2 >= 1.5])
  AC_SUBST([GIT2_LIBS]) # for the Makefile
])

dnl A second macro,
dnl kept apart.
AC_DEFUN([KORDEL_ENABLE_GUI], [
  AC_ARG_ENABLE([gui],
    [AS_HELP_STRING([--disable-gui], [build without the desktop program])])
])
