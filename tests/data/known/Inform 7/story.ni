"Cloak of Darkness" by Roger Firth

[ The opera house, in brief.

  [ nested note ] ]
The Foyer is a room. "You are standing in a hall [with brackets]."
The cloak is a wearable thing. [worn at the start]
The player wears the cloak.

Instead of going north in the Foyer:
    say "The door is locked [for now]."
