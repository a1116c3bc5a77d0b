' Entry point of the channel.
sub Main()
    screen = CreateObject("roSGScreen")
    port = CreateObject("roMessagePort") ' events
    screen.SetMessagePort(port)
    print "Don't stop ' here"

    ' Wait for the close event.
    while true
        msg = wait(0, port)
    end while
end sub
