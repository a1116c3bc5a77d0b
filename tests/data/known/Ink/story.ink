// The opening scene.
=== start ===
You wake up in a dark room.
* [Look around] // the careful choice
    It is empty.
    -> END

/* The door leads

   to the hall. */
* [Open the door]
    -> END
