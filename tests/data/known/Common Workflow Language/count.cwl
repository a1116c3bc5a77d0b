#!/usr/bin/env cwl-runner
# Counts the lines of a file.
cwlVersion: v1.2
class: CommandLineTool
baseCommand: [wc, -l]

inputs:
  file:
    type: File   # the input
    inputBinding: {position: 1}
outputs:
  count: {type: stdout}
doc: "Counts # lines"
