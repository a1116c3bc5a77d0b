% A short melody for the test suite.
\version "2.24.0"

%{ The header is printed

   above the first system. %}
\header {
  title = "Scale % not a comment"
  composer = "Anon" % unknown
}

melody = \relative c' {
  \clef treble
  \key c \major
  c4 d e f | g a b c | % one octave
  c1 \bar "|."
}

\score { \new Staff \melody } %{ done %}
