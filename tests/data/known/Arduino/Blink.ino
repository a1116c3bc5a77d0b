// Blinks the built-in LED.
const int led = LED_BUILTIN;

/* The delay is in milliseconds;

   one second on, one off. */
void setup() {
  pinMode(led, OUTPUT); // once
  Serial.begin(9600);
}

void loop() {
  digitalWrite(led, HIGH);
  Serial.println("on // high");
  delay(1000);
  digitalWrite(led, LOW); /* off */
  Serial.println('/');
  delay(1000);
}
