// A box with a lid, in millimetres.
width = 40;
depth = 30; // inside size
height = 20;
wall = 2;

/* The lid sits on a rim

   half the wall thick. */
module box() {
    difference() {
        cube([width + 2*wall, depth + 2*wall, height]);
        translate([wall, wall, wall]) cube([width, depth, height]);
    }
}

box();
echo("size // not a comment", width, depth);
