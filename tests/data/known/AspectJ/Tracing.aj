// Traces every public method of the demo.
public aspect Tracing {
    pointcut traced(): execution(public * demo..*(..));

    /* Printed before the call,

       with its signature. */
    before(): traced() {
        System.out.println("enter // " + thisJoinPoint); // trace
    }
    char slash = '/'; /* unused */
}
