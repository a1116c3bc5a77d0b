// Drops a memset that follows a kzalloc of the same size.
virtual patch

/* The rule matches one

   allocation at a time. */
@@
expression E, S;
@@

  E = kzalloc(S, GFP_KERNEL);
  ... // anything between
- memset(E, 0, S);
+ pr_info("// not a comment");
