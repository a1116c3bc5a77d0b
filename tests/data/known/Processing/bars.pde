// Draws one bar per file, as tall as its line count.
int[] counts = {12, 40, 7, 25};

/* The bars share the width

   of the window. */
void setup() {
  size(400, 200); // window size
  noLoop();
}

void draw() {
  background(255);
  float w = width / (float) counts.length;
  for (int i = 0; i < counts.length; i++) {
    rect(i * w, height - counts[i] * 4, w - 2, counts[i] * 4); /* one bar */
  }
  text("lines // per file", 10, 20);
}
