// A pickup that heals the player.
class HealthPickup extends Pickup;

/* The amount is set in the

   default properties. */
var() int HealAmount;

function Touch(Actor Other)
{
    Pawn(Other).Health += HealAmount; // heal
    PlaySound(Sound'Pickups.Heal');
    Destroy();
}

defaultproperties
{
    HealAmount=25
    PickupMessage="Healed // 25"
}
