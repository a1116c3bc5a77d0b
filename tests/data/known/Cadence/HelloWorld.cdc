// A contract with a greeting.
access(all) contract HelloWorld {
    access(all) let greeting: String

    /* The greeting is set

       once, at deployment. */
    init() {
        self.greeting = "Hello // world" // fixed
    }
}
