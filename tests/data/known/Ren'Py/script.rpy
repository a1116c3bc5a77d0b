# The first scene of the demo.
define e = Character("Eileen")

label start:
    scene bg room
    show eileen happy
    e "Hello! # not a comment" # greeting
    e "This counts as code."

    e """
    Two lines # of dialogue.
    """
    # the choice
    menu:
        "Go on":
            jump chapter1
        "Stop":
            return
