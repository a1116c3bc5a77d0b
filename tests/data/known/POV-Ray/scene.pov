// A sphere over a checkered plane.
#include "colors.inc"

/* POV-Ray comments nest:
   /* inner */

   outer */
camera {
  location <0, 2, -5>
  look_at <0, 1, 0> // the centre of the sphere
}
light_source { <2, 4, -3> color White }

sphere { <0, 1, 0>, 1 pigment { color Red } }
plane { y, 0 pigment { checker color White color Black } }
#declare Note = "// not a comment"; /* text */
