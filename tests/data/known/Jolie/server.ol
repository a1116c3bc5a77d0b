// A greeting service.
include "console.iol"

interface GreetInterface {
    RequestResponse: greet(string)(string) // one call
}

/* Listens on port 8000

   over HTTP. */
service Greeter {
    inputPort GreetPort {
        location: "socket://localhost:8000"
        protocol: http
        interfaces: GreetInterface
    }
    main { greet(name)(reply) { reply = "Hello // " + name } }
}
