@0xdbb9ad1f14bf0b36;
# Address book of the demo.

struct Person {
  id @0 :UInt32;
  name @1 :Text;   # full name
  email @2 :Text;
  phones @3 :List(PhoneNumber);

  struct PhoneNumber {
    number @0 :Text;
    label @1 :Text = "home # default";
  }
}
