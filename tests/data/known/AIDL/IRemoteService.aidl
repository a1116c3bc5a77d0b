// Interface of the remote service.
package com.example.demo;

/* Calls cross the process boundary,

   so arguments are marshalled. */
interface IRemoteService {
    int getPid(); // of the service
    void log(in String tag, in String text);
    const String PREFIX = "demo:// /* not a comment */";
    void reset(); /* clears the log */
}
