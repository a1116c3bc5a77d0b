extends CharacterBody2D
## The player of the demo.

const SPEED = 300.0
var label := "HP # left"  # shown in the HUD

func _physics_process(delta):
    """Moves the player.
    A # here is text.
    """
    var direction := Input.get_axis("ui_left", "ui_right")
    velocity.x = direction * SPEED
    move_and_slide()

# Resets the position.
func reset():
    position = Vector2.ZERO
