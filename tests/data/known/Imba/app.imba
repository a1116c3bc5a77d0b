# The app component.
tag app-root
    name = "world # one"

###
Block comments in Imba

end with three hashes.
###
    def render # draws the tree
        <self> <h1> "Hello {name}"
