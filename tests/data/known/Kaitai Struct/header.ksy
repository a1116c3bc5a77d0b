# Header of the demo format.
meta:
  id: demo_header
  endian: le

seq:
  - id: magic
    contents: "DEMO"
  - id: version   # format version
    type: u2
  - id: title
    type: str
    size: 16
    encoding: 'UTF-8'
    doc: "Title # of the file"
