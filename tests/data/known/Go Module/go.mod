// Module of the demo service.
module example.com/demo

go 1.21

require (
    github.com/google/uuid v1.6.0 // indirect
    golang.org/x/text v0.14.0
)

// Local copy while debugging.
replace example.com/lib => ../lib
