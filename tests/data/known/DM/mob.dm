// The player mob.
/mob/player
    name = "Player // one"
    icon = 'player.dmi' // sprite

/* Login greets the player

   by name. */
/mob/player/Login()
    ..()
    world << "Welcome, [src.name]" /* greeting */
