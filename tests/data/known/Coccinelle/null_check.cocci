// Removes a redundant NULL check before kfree.
virtual patch

/* kfree() accepts NULL,

   so the test is not needed. */
@@
expression E;
@@
- if (E != NULL) // the test
  kfree(E);
@script:python@
print("done // ok")
